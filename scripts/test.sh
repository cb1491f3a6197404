#!/bin/sh
# Installs what is missing, builds everything and runs every test: unit, GL and end-to-end,
# starting a virtual X display when there is none.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

XVFB_PID=""
if [ -z "$DISPLAY" ]; then
  for n in $(seq 90 130); do
    if [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ]; then
      # -noreset: else the server starts afresh each time its last client leaves, and a test
      # that connects in that moment is turned away.
      Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
      XVFB_PID=$!
      export DISPLAY=:$n
      break
    fi
  done
  for i in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
fi
trap '[ -n "$XVFB_PID" ] && kill $XVFB_PID 2>/dev/null || true' EXIT

# No sound card is needed: tests that listen choose the disk driver themselves.
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
cd build
ctest --output-on-failure -j2 "$@"

# The same unit and GL tests (with the soaks) again under the address and undefined-behaviour
# sanitizers, in a build folder of their own.
cd ..
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUVO_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$(nproc)" --target unit_tests gl_tests
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$(pwd)/tests/sanitizer/lsan.supp:print_suppressions=0"
cd build-sanitize
ctest --output-on-failure -j2 -L "unit|gl" -E "PlayThrough"
