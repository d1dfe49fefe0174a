#!/usr/bin/env bash
# Saves a picture of the X display (the Wine desktop with the program and the demo game) for
# a human to look at, whole or cut to a rectangle.
#   tools/screenshot.sh [out.png] [WIDTHxHEIGHT+X+Y]   (needs DISPLAY, imagemagick)
set -euo pipefail
out="${1:-screenshot.png}"
crop="${2:-}"
[ -n "${DISPLAY:-}" ] || { echo "screenshot: DISPLAY is not set" >&2; exit 1; }
command -v import >/dev/null || { echo "screenshot: 'import' is missing (apt-get install imagemagick)" >&2; exit 1; }
if [ -n "$crop" ]; then
  import -display "$DISPLAY" -window root -crop "$crop" +repage "$out"
else
  import -display "$DISPLAY" -window root "$out"
fi
echo "$out"
