#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix; used as CMake's cross-compiling
# emulator. Starts a virtual display when none is set.
set -uo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
if [ -z "${DISPLAY:-}" ]; then exec "$here/with-display.sh" "$0" "$@"; fi
source "$here/wine-env.sh"
qv_prepare_prefix || exit 1
# Only one Wine program of the project's tests at a time on this machine.
exec 9>"${TMPDIR:-/tmp}/qv-wine.lock"
flock 9
qv_wine "$@"
