#!/usr/bin/env bash
# Starts Quorvane under Wine beside the demo game window, in build/run/.
# With a display: runs until Quorvane is closed. Without one: starts a virtual display,
# lets the demo run, saves a screenshot and says where.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin="$root/build/windows"
run="$root/build/run"
demo_seconds="${QV_DEMO_SECONDS:-75}"

if [ -z "${DISPLAY:-}" ]; then
  exec "$root/scripts/with-display.sh" "$0" --headless "$@"
fi
headless=0; [ "${1:-}" = "--headless" ] && headless=1

source "$root/scripts/wine-env.sh"
qv_prepare_prefix || exit 1

mkdir -p "$run"
cp "$bin/Quorvane.exe" "$run/"
# The demo folder's settings read the figure every second, start at once and measure from
# the start, so a level-up shows within a minute. The program's own defaults are unchanged.
if [ ! -f "$run/QvanConfig.ini" ]; then
  cp "$root/tools/demo/QvanConfig.ini" "$run/QvanConfig.ini" 2>/dev/null || true
fi

started=$(date +%s)
(cd "$run" && qv_wine Quorvane.exe) &
qv_pid=$!
pids=()
# The game comes second so that it is the window in front, beside Quorvane's window: it is
# started once Quorvane has finished loading (a fixed pause is too short on a busy machine).
if [ -f "$bin/DemoGame.exe" ]; then
  for _ in $(seq 60); do
    if [ "$(stat -c %Y "$run/debug.txt" 2>/dev/null || echo 0)" -ge "$started" ] &&
      grep -aq "All Form Loading" "$run/debug.txt"; then
      break
    fi
    sleep 0.5
  done
  sleep 1
  (cd "$run" && qv_wine "$bin/DemoGame.exe" --demo --pos 290 0) &
  pids+=($!)
fi

if [ "$headless" = 1 ]; then
  echo "Quorvane is running on the virtual display $DISPLAY; waiting ${demo_seconds}s for the demo..."
  sleep "$demo_seconds"
  shot="$run/screenshot.png"
  if command -v import >/dev/null; then
    import -display "$DISPLAY" -window root "$shot" && echo "Screenshot of the program's window: $shot"
  fi
  echo "Debug log: $run/debug.txt"
  kill "$qv_pid" "${pids[@]}" 2>/dev/null
  wineserver -k
else
  echo "Quorvane is running (close its window to end). Files are written to $run"
  wait "$qv_pid"
  kill "${pids[@]}" 2>/dev/null
fi
