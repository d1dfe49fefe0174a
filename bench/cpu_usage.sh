#!/usr/bin/env bash
# Processor use of Quorvane.exe under Wine, printed, never asserted (aim: below 1 % of one core).
#   1. measuring: the demo game in front, auto-start, a capture every second, no start delay;
#   2. idle: the program up without a measurement.
# Each phase runs the program afresh in a throw-away folder and reads utime + stime of its Wine
# process from /proc over the period. The wineserver's share is shown beside it.
#
#   bench/cpu_usage.sh [seconds per phase, default 60]
#   env: QV_BUILD_DIR (default build/windows: Quorvane.exe and DemoGame.exe), QV_WINEPREFIX
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
build="${QV_BUILD_DIR:-$root/build/windows}"
[[ "$build" = /* ]] || build="$root/$build"
for exe in Quorvane.exe DemoGame.exe; do
  [ -f "$build/$exe" ] || { echo "cpu_usage: $build/$exe is missing (build the windows preset)" >&2; exit 1; }
done
if [ -z "${DISPLAY:-}" ]; then exec "$root/scripts/with-display.sh" "$0" "$@"; fi
source "$root/scripts/wine-env.sh"
qv_prepare_prefix || exit 1
# Alone on the machine's Wine while measuring, like the test runs.
exec 9>"${TMPDIR:-/tmp}/qv-wine.lock"
flock 9

work="$(mktemp -d "${TMPDIR:-/tmp}/qv-cpu.XXXXXX")"
tag="$(basename "$work")"
tick_hz="$(getconf CLK_TCK)"
started=()

cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
  sleep 1
  for pid in "${started[@]}"; do kill -9 "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

# The Linux process of a Windows program started from our folder (its command line, the
# program's full path, names the folder).
find_pid() { # exe name
  local deadline=$((SECONDS + 20)) p
  while [ $SECONDS -lt $deadline ]; do
    for p in /proc/[0-9]*; do
      if tr '\0' ' ' 2>/dev/null <"$p/cmdline" | grep -q "$tag.*$1"; then
        echo "${p#/proc/}"; return 0
      fi
    done
    sleep 0.2
  done
  return 1
}

# utime + stime in clock ticks (fields 14 and 15; the name in parentheses may hold spaces).
cpu_ticks() {
  local stat rest
  stat="$(cat 2>/dev/null "/proc/$1/stat")" || { echo 0; return; }
  rest="${stat##*) }"
  set -- $rest
  echo $(( ${12} + ${13} ))
}

wineserver_pid() {
  local p
  for p in /proc/[0-9]*; do
    case "$(cat 2>/dev/null "$p/comm")" in wineserver*) ;; *) continue ;; esac
    tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "${p#/proc/}"; return 0; }
  done
  return 1
}

captures() {
  local n
  n="$(grep -ac '[0-9] Available Physical Memory' "$1/debug.txt" 2>/dev/null)"
  echo "${n:-0}"
}

wait_for_startup() { # folder
  local deadline=$((SECONDS + 30))
  while [ $SECONDS -lt $deadline ]; do
    grep -aq 'All Form Loading' "$1/debug.txt" 2>/dev/null && return 0
    sleep 0.2
  done
  return 1
}

percent() { # ticks seconds
  awk -v t="$1" -v hz="$tick_hz" -v s="$2" 'BEGIN { printf "%.2f", 100 * t / hz / s }'
}

# phase name, auto-start (True/False), with game (1/0)
run_phase() {
  local name="$1" autostart="$2" with_game="$3" dir="$work/$1" pid game_pid ws before after ws_before ws_after c0 c1
  mkdir -p "$dir"
  cp "$build/Quorvane.exe" "$build/DemoGame.exe" "$dir/"
  sed "3s/^ *\(True\|False\) ,/$(printf '%7s' "$autostart") ,/" "$root/tools/demo/QvanConfig.ini" >"$dir/QvanConfig.ini"
  (cd "$dir" && qv_wine "$dir/Quorvane.exe" >/dev/null 2>&1) &
  pid="$(find_pid Quorvane.exe)" || { echo "cpu_usage: Quorvane.exe did not start" >&2; return 1; }
  started+=("$pid")
  wait_for_startup "$dir" || { echo "cpu_usage: no start-up record in $name" >&2; return 1; }
  if [ "$with_game" = 1 ]; then
    # Started last, the game's window comes up in front.
    (cd "$dir" && qv_wine "$dir/DemoGame.exe" --exp 1234567 >/dev/null 2>&1) &
    game_pid="$(find_pid DemoGame.exe)" || { echo "cpu_usage: the demo game did not start" >&2; return 1; }
    started+=("$game_pid")
  fi
  sleep 3 # start-up work and the first capture settle
  ws="$(wineserver_pid || echo)"
  c0="$(captures "$dir")"
  before="$(cpu_ticks "$pid")"; ws_before="$( [ -n "$ws" ] && cpu_ticks "$ws" || echo 0)"
  sleep "$seconds"
  after="$(cpu_ticks "$pid")"; ws_after="$( [ -n "$ws" ] && cpu_ticks "$ws" || echo 0)"
  c1="$(captures "$dir")"
  printf '%-10s Quorvane.exe %6s %% of one core   (wineserver of the prefix %s %%)   captures: %d in %d s\n' \
    "$name" "$(percent $((after - before)) "$seconds")" "$(percent $((ws_after - ws_before)) "$seconds")" \
    $((c1 - c0)) "$seconds"
  for p in "$pid" ${game_pid:-}; do kill "$p" 2>/dev/null; done
  sleep 1
}

echo "CPU use over $seconds s per phase (target: below 1 % of one core)"
run_phase measuring True 1
run_phase idle False 0
