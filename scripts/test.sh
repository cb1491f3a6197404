#!/bin/sh
# Installs what is missing, builds everything and runs every test: unit, GL and end-to-end,
# starting a virtual X display when there is none.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
# The folders of src/ depend one way; the build refuses an include against it too, this says
# where at once.
scripts/check-layers.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

. scripts/lib/xvfb.sh
start_xvfb
trap '[ -n "$XVFB_PID" ] && kill $XVFB_PID 2>/dev/null || true' EXIT

# No sound card is needed: tests that listen choose the disk driver themselves.
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
cd build
# Rounds a test plays are kept in the build folder, never in the home folder.
export XDG_DATA_HOME="$(pwd)/test-data"
ctest --output-on-failure -j2 "$@"

# The same unit and GL tests (with the soaks) again under the address and undefined-behaviour
# sanitizers, in a build folder of their own.
cd ..
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUVO_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$(nproc)" --target unit_test_programs gl_tests tuvo tuvo-lobby
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$(pwd)/tests/sanitizer/lsan.supp:print_suppressions=0"
cd build-sanitize
ctest --output-on-failure -j2 -L "unit|gl" -E "PlayThrough"
