#!/usr/bin/env bash
# Runs every benchmark and prints the figures; nothing here is asserted.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

echo "== Recognizer on the default 90 x 9 region (Linux, Google Benchmark)"
cmake --build --preset linux --target recognize_bench >/dev/null && build/linux/recognize_bench

echo; echo "== Search of a whole client area for the EXP figure (Linux, Google Benchmark)"
cmake --build --preset linux --target exp_search_bench >/dev/null && build/linux/exp_search_bench

echo; echo "== Our recognizer against Tesseract on 200 strips"
bench/ocr_compare.sh 200

echo; echo "== Capture and recognition of the demo game (under Wine)"
cmake --preset windows >/dev/null && cmake --build --preset windows --target capture_recognize_bench_win >/dev/null &&
  scripts/wine-run.sh build/windows/capture_recognize_bench_win.exe

echo; echo "== Repaint of the graph window with 30,000 readings (under Wine)"
cmake --build --preset windows --target graph_paint_bench_win >/dev/null &&
  scripts/wine-run.sh build/windows/graph_paint_bench_win.exe

echo; echo "== One capture tick under Wine (capture, recognition, evaluation of an unchanged figure)"
# A Windows program's console lines end in CR LF: the CR goes before the filter looks at ends.
cmake --build --preset windows --target qv_win_tests >/dev/null &&
  scripts/wine-run.sh build/windows/qv_win_tests.exe --gtest_also_run_disabled_tests \
    --gtest_filter='MeasurementWinBench.*' | tr -d '\r' | grep -E ' us$|runs:'

echo; echo "== Processor use of Quorvane.exe under Wine (60 s measuring, 60 s idle)"
cmake --build --preset windows --target Quorvane DemoGame >/dev/null && bench/cpu_usage.sh 60
