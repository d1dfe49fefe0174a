#!/usr/bin/env bash
# Runs a command with a virtual X display of its own (unless QV_KEEP_DISPLAY=1 and one is set),
# then ends the display and this prefix's wineserver.
set -uo pipefail
if [ -n "${DISPLAY:-}" ] && [ "${QV_KEEP_DISPLAY:-0}" = 1 ]; then exec "$@"; fi
command -v Xvfb >/dev/null || { echo "with-display: Xvfb is missing (apt-get install xvfb)" >&2; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r num <"$fifo"; rm -f "$fifo"
export DISPLAY=":$num"
cleanup() {
  wineserver -k >/dev/null 2>&1
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
qv_prepare_prefix || exit 1
"$@"
