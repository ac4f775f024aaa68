#!/usr/bin/env bash
# Installs what is missing, checks that no layer includes one above it, builds
# Vexal with its tests and benchmarks, runs every test, then builds and runs
# the tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
# Here, and only here, a warning is an error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --tests

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1

bash tools/check-layers.sh

# A test that hangs fails after its timeout and names itself; the window
# tests' own watchdog ends a hung test sooner, with its name.
# The release tree is built as the programs run, without debug information,
# which would cost a third of its build time: a failure is found again with
# its stack in the sanitizer tree, which keeps it.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
  -DBUILD_TESTING=ON -DVEXAL_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --timeout 120

# The sanitizer tree runs each test binary as one test, its tests shuffled
# (tests/CMakeLists.txt): the seed is printed for running a failure again.
# Line tables are all a sanitizer's report needs (-g1), at a sixth less
# build time than full debug information.
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DVEXAL_SANITIZE=ON \
  -DBUILD_TESTING=ON -DVEXAL_WERROR=ON
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize -j"$jobs" --timeout 300
