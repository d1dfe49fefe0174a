#!/usr/bin/env bash
# Runs every benchmark and prints the figures; nothing here is asserted.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

echo "== Recognizer on the default 90 x 9 region (Linux, Google Benchmark)"
cmake --build --preset linux --target recognize_bench >/dev/null && build/linux/recognize_bench

echo; echo "== Our recognizer against Tesseract on 200 strips"
bench/ocr_compare.sh 200

echo; echo "== Capture and recognition of the demo game (under Wine)"
cmake --preset windows >/dev/null && cmake --build --preset windows --target capture_recognize_bench_win >/dev/null &&
  scripts/wine-run.sh build/windows/capture_recognize_bench_win.exe

for extra in bench/*_win.sh; do
  [ -x "$extra" ] || continue
  echo; echo "== $(basename "$extra" .sh) (under Wine)"
  "$extra"
done
