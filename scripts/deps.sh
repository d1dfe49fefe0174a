#!/usr/bin/env bash
# Makes sure the Debian packages a target needs are installed.
# As root it installs what is missing; otherwise it names the missing packages and fails.
#   scripts/deps.sh linux|windows|wine|bench|format...
set -euo pipefail

declare -A PKGS=(
  [linux]="cmake make g++ googletest libgtest-dev"
  [windows]="cmake make g++-mingw-w64-x86-64 googletest clang python3"
  [wine]="wine wine64 fonts-wine xvfb fonts-ipafont-gothic locales imagemagick"
  [bench]="libbenchmark-dev tesseract-ocr imagemagick"
  [format]="clang-format-16"
)

wanted=()
for group in "$@"; do
  wanted+=(${PKGS[$group]})
done

missing=()
for pkg in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get -o DPkg::Lock::Timeout=600 update -qq
apt-get -o DPkg::Lock::Timeout=600 install -y -qq "${missing[@]}" >/dev/null
