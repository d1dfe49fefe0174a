# Quorvane: thin wrapper over CMake presets and the Wine scripts.
#   make run    build Quorvane.exe and start it under Wine beside the demo game window
#   make test   unit tests (Linux, under AddressSanitizer and UndefinedBehaviorSanitizer),
#               Windows-side tests and end-to-end scenarios (Wine), the release checks
#   make exe    build/windows/Quorvane.exe only
#   make dist   dist/Quorvane-<version>-win64.zip and its .sha256, reproducibly
#   make bench  benchmarks (printed, never asserted; on the plain optimised build)

.PHONY: all exe linux windows test unit wintest e2e run bench dist clean format

all: exe

linux:
	scripts/deps.sh linux
	cmake --preset linux >/dev/null
	cmake --build --preset linux

windows:
	scripts/deps.sh windows
	cmake --preset windows >/dev/null
	cmake --build --preset windows

exe:
	scripts/deps.sh windows
	cmake --preset windows >/dev/null
	cmake --build --preset windows --target Quorvane
	@echo "Built build/windows/Quorvane.exe"

# The unit tests run under the sanitizers: the first report of either fails the suite.
unit:
	scripts/deps.sh linux
	cmake --preset linux-sanitize >/dev/null
	cmake --build --preset linux-sanitize
	ctest --preset linux-sanitize

wintest: windows
	scripts/deps.sh wine
	scripts/with-display.sh ctest --preset windows -L win

e2e: windows
	scripts/deps.sh wine
	scripts/with-display.sh ctest --preset windows -L e2e

test: unit windows
	scripts/deps.sh wine
	scripts/with-display.sh ctest --preset windows

run: windows
	scripts/deps.sh wine
	scripts/run-demo.sh

dist:
	scripts/deps.sh windows
	scripts/dist.sh

bench: linux
	scripts/deps.sh bench
	scripts/bench.sh

# InsertBraces and include regrouping need clang-format 15 or later (Debian 12 ships 14 as the default).
CLANG_FORMAT ?= clang-format-16

format:
	scripts/deps.sh format
	find app win base measurement recognition capture config services testkit tests tools bench \
	  \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 $(CLANG_FORMAT) -i

clean:
	rm -rf build dist
