#!/usr/bin/env bash
# Sets up, builds and runs every test: the release build with the GUI tests on an offscreen
# display, then the non-GUI tests again under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-dependencies.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVEK_SANITIZE=ON \
      -DTOLVEK_GUI=OFF -DTOLVEK_BENCH=OFF
cmake --build build-sanitize -j "$jobs"
# The oracle comparisons prove agreement with outside tools, which the release run has done.
(cd build-sanitize && ctest --output-on-failure -j "$jobs" -LE oracle)
