#!/usr/bin/env bash
# Compares the program's glyph recognizer with Tesseract on random EXP strips (1 to 12 digits,
# half of them with capture noise of up to +-20 per channel): accuracy and time per strip.
# Tesseract gets the figure part of each strip enlarged 8 times and binarised (dark digits on
# white), digits only, single-line mode.
# Usage: bench/ocr_compare.sh [count=200] [seed=1]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
count="${1:-200}"
seed="${2:-1}"
build="$root/build/ocr-compare"

if ! command -v tesseract >/dev/null; then
  if [ "$(id -u)" = 0 ]; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq tesseract-ocr >/dev/null
  else
    echo "tesseract is missing: sudo apt-get install tesseract-ocr" >&2; exit 1
  fi
fi

cmake --preset linux -B "$build" >/dev/null
cmake --build "$build" -j2 --target qv_testkit >/dev/null
g++ -std=c++20 -O2 -I"$root" -DQV_SOURCE_DIR="\"$root\"" "$root/bench/ocr_compare.cpp" \
  "$build/libqv_testkit.a" "$build/libqv_core.a" -o "$build/ocr_compare"

work="$build/strips"
rm -rf "$work"; mkdir -p "$work"
read -r ours_ok total ours_us < <("$build/ocr_compare" "$work" "$count" "$seed")

tess_ok=0; tess_noisy_ok=0; ours_noisy=0
start=$(date +%s%N)
while read -r name figure kind; do
  got=$(tesseract "$work/$name" - --psm 7 -c tessedit_char_whitelist=0123456789 2>/dev/null | tr -cd '0-9')
  if [ "$got" = "$figure" ]; then
    tess_ok=$((tess_ok + 1))
    [ "$kind" = noisy ] && tess_noisy_ok=$((tess_noisy_ok + 1))
  fi
done < "$work/truth.txt"
end=$(date +%s%N)
tess_ms=$(awk -v a="$start" -v b="$end" -v n="$total" 'BEGIN { printf "%.1f", (b - a) / n / 1e6 }')

printf '%-24s %10s %16s\n' "engine" "accuracy" "time per strip"
printf '%-24s %6d/%-3d %13s us\n' "glyph matching (ours)" "$ours_ok" "$total" "$ours_us"
printf '%-24s %6d/%-3d %13s ms\n' "tesseract $(tesseract --version 2>/dev/null | head -1 | awk '{print $2}')" "$tess_ok" "$total" "$tess_ms"
printf '(tesseract on the noisy half: %d of %d; time includes starting the process)\n' \
  "$tess_noisy_ok" "$((total / 2))"
