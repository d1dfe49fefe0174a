#!/usr/bin/env bash
# Starts Quorvane under Wine beside the demo game window, in build/run/.
# With a display: runs until Quorvane is closed. Without one: starts a virtual display,
# lets the demo run in a Wine desktop of its own (which draws Windows-style frames and title
# bars), saves a screenshot of that desktop and says where.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin="$root/build/windows"
run="$root/build/run"
demo_seconds="${QV_DEMO_SECONDS:-90}"

if [ -z "${DISPLAY:-}" ]; then
  exec "$root/scripts/with-display.sh" "$0" --headless "$@"
fi
headless=0; [ "${1:-}" = "--headless" ] && headless=1
desktop_name=Quorvane desktop_size="1120x1000"
# Starts a program, inside the Wine desktop when there is no display of one's own.
start() {
  if [ "$headless" = 1 ]; then qv_wine explorer "/desktop=$desktop_name,$desktop_size" "$@"; else qv_wine "$@"; fi
}

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
(cd "$run" && start Quorvane.exe) &
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
  (cd "$run" && start "$bin/DemoGame.exe" --demo --pos 310 0) &
  pids+=($!)
  # The graph window ("グラフ") below the game; the game is given the front back afterwards.
  if [ -f "$bin/OpenGraph.exe" ]; then
    sleep 3
    # It joins the Wine desktop itself rather than being started there, so that the script
    # waits for it and sees its exit code (explorer /desktop returns at once).
    graph_args=(290 "${QV_GRAPH_TOP:-640}" 800 360)
    [ "$headless" = 1 ] && graph_args=(--desktop "$desktop_name" "${graph_args[@]}")
    (cd "$run" && qv_wine "$bin/OpenGraph.exe" "${graph_args[@]}") ||
      echo "run-demo: the graph window could not be opened" >&2
  fi
fi

if [ "$headless" = 1 ]; then
  echo "Quorvane is running on the virtual display $DISPLAY; waiting ${demo_seconds}s for the demo..."
  sleep "$demo_seconds"
  shot="$run/screenshot.png"
  "$root/tools/screenshot.sh" "$shot" "$desktop_size+0+0" >/dev/null &&
    echo "Screenshot of the program's window: $shot"
  echo "Debug log: $run/debug.txt"
  kill "$qv_pid" "${pids[@]}" 2>/dev/null
  wineserver -k
else
  echo "Quorvane is running (close its window to end). Files are written to $run"
  wait "$qv_pid"
  kill "${pids[@]}" 2>/dev/null
fi
