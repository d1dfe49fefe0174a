#!/usr/bin/env bash
# The release package a player downloads:
#   dist/Quorvane-<version>-win64.zip         Quorvane-<version>/ with Quorvane.exe, LICENSE, Readme.txt
#   dist/Quorvane-<version>-win64.zip.sha256  its sha256sum line
# The version is the one the program shows (project(VERSION) in CMakeLists.txt, through the
# generated header). Readme.txt is made from the README's Japanese section.
# Reproducible: the exe carries no time or folder of the build, and the zip's entries have a
# fixed order and the time of the commit (SOURCE_DATE_EPOCH when set), so two runs of the same
# commit give the same bytes wherever and whenever they run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

cmake --preset windows >/dev/null
cmake --build --preset windows --target Quorvane >/dev/null
version=$(sed -n 's/^#define QV_VERSION_TEXT "\(.*\)"$/\1/p' build/windows/generated/quorvane_version.h)
[ -n "$version" ] || { echo "dist: no version in build/windows/generated/quorvane_version.h" >&2; exit 1; }
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
    { echo "dist: not a git checkout: set SOURCE_DATE_EPOCH to the sources' time" >&2; exit 1; }
fi

name="Quorvane-$version"
stage="build/dist/$name"
rm -rf build/dist && mkdir -p "$stage" dist
cp build/windows/Quorvane.exe "$stage/"
sed 's/$/\r/' LICENSE >"$stage/LICENSE"
python3 scripts/readme_txt.py README.md "$version" "$stage/Readme.txt"

zip="$name-win64.zip"
python3 scripts/make_zip.py "dist/$zip" "$SOURCE_DATE_EPOCH" build/dist \
  "$name/Quorvane.exe" "$name/Readme.txt" "$name/LICENSE"
(cd dist && sha256sum "$zip" >"$zip.sha256")
echo "dist/$zip"
cat "dist/$zip.sha256"
