#!/usr/bin/env bash
# Builds Quorvane.exe a second time, from a copy of the sources in another folder and without
# a compiler cache, and compares it byte for byte with the given one (run by make test on the
# exe it has just built). Another folder, another time, the same bytes: what anyone needs to
# check that a published exe comes from these sources.
#   scripts/check-reproducible.sh [build/windows/Quorvane.exe]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
first="${1:-$root/build/windows/Quorvane.exe}"
[ -f "$first" ] || { echo "reproducible: $first is missing (build the windows preset)" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/qv-reproduce.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The sources as they are in the work tree, committed or not, without what builds made.
src="$work/elsewhere/Quorvane-source"
mkdir -p "$src"
tar -C "$root" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$src" -xf -

unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
export CCACHE_DISABLE=1
cd "$src"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Quorvane >"$work/build.log" 2>&1 ||
  { cat "$work/build.log" >&2; exit 1; }
second="$src/build/windows/Quorvane.exe"

if ! cmp -s "$first" "$second"; then
  echo "reproducible: two builds of Quorvane.exe differ" >&2
  echo "  $first  $(sha256sum <"$first" | cut -c1-16)" >&2
  echo "  $second  $(sha256sum <"$second" | cut -c1-16)" >&2
  cmp -l "$first" "$second" | head -n 20 >&2
  exit 1
fi
echo "reproducible: Quorvane.exe built again in $src is the same, $(sha256sum <"$first" | cut -d' ' -f1)"
