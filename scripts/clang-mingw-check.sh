#!/usr/bin/env bash
# Second-compiler check: every source of the program compiled (syntax and semantics, no code
# generation) by Debian's clang for x86_64-w64-mingw32 against the mingw-w64 headers, with
# -Wall -Wextra. Any diagnostic fails the check.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
[[ -f build/windows/generated/quorvane_version.h ]] || cmake --preset windows >/dev/null
cxx=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix/include/c++ | head -n1)
flags=(--target=x86_64-w64-mingw32 -std=c++20 -Wall -Wextra -Werror -fsyntax-only
  -isystem "$cxx" -isystem "$cxx/x86_64-w64-mingw32" -isystem "$cxx/backward"
  -I. -Ibuild/windows/generated -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX
  -D_WIN32_WINNT=0x0A00 -DWINVER=0x0A00)
sources=$(find win app measurement recognition capture config services base -name '*.cpp' \
  ! -name 'ansi_text_iconv.cpp' | sort)
count=0
for src in $sources; do
  clang++ "${flags[@]}" "$src"
  count=$((count + 1))
done
echo "clang $(clang++ -dumpversion) (x86_64-w64-mingw32): $count sources, no diagnostics"
