#!/usr/bin/env bash
# Installs what the tests need, builds the game twice (plain, then with ASan + UBSan)
# and runs every test of both builds through CTest, headless, and the perf test once.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_TESTS=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
# The perf test once, on the plain build: its report must be written (the verdict is not checked).
tests/perf_test_run.sh build/quillmarch

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON -DQM_TESTS=ON
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
