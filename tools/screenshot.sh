#!/usr/bin/env bash
# Saves a picture of the whole X display (the Wine desktop with the program and the demo
# game) for a human to look at.   tools/screenshot.sh [out.png]   (needs DISPLAY, imagemagick)
set -euo pipefail
out="${1:-screenshot.png}"
[ -n "${DISPLAY:-}" ] || { echo "screenshot: DISPLAY is not set" >&2; exit 1; }
command -v import >/dev/null || { echo "screenshot: 'import' is missing (apt-get install imagemagick)" >&2; exit 1; }
import -display "$DISPLAY" -window root "$out"
echo "$out"
