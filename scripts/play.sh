#!/bin/sh
# Installs what is missing, builds TUVO!! and starts it.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target tuvo assets
cd build
exec ./tuvo
