#!/usr/bin/env bash
# Sets up, builds and runs every test, in three builds:
# - GCC, release: every test, the GUI tests on an offscreen display;
# - Clang with AddressSanitizer and UBSan: the non-GUI tests, the routes under file faults, and
#   each fuzz target for a bounded number of inputs (an input that fails is kept in
#   build-sanitize/fuzz-crashes/);
# - Clang with ThreadSanitizer: the reader's, the windows' logic's and the command line's stress
#   tests, twice each in shuffled order.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-dependencies.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

cmake -S . -B build-sanitize -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVEK_SANITIZE=ON -DTOLVEK_FUZZ=ON -DTOLVEK_GUI=OFF -DTOLVEK_BENCH=OFF
cmake --build build-sanitize -j "$jobs"
# The multi-gigabyte files (the tests labelled slow) run the same code as the small ones, which
# the sanitizers check; under the sanitizers they would only take minutes more.
(cd build-sanitize && ctest --output-on-failure -j "$jobs" -LE slow)

cmake -S . -B build-tsan -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTOLVEK_THREAD_SANITIZE=ON -DTOLVEK_GUI=OFF -DTOLVEK_BENCH=OFF
cmake --build build-tsan -j "$jobs" --target hashing_tests window_tests cli_stress
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
repeat=(--gtest_shuffle --gtest_repeat=2 --gtest_brief=1)
# Every entry split every way on every path is single-threaded but for its thread-count cases,
# which WorkerPool's own tests cover; under the thread sanitizer it would take many minutes.
build-tsan/tests/hashing/hashing_tests "${repeat[@]}" --gtest_filter='-*Slow*:*EntrySplitTest.AnyPieces*'
build-tsan/tests/window/window_tests "${repeat[@]}"
build-tsan/tests/cli/cli_stress "${repeat[@]}"
