#!/usr/bin/env bash
# Installs what the tests need, builds the game twice (plain, then with ASan + UBSan)
# and runs every test of both builds through CTest, headless, the plain build's tests once more
# in one shuffled process, and the perf test once.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_TESTS=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
# CTest runs each test in a process of its own; once more, every test in one process and in a
# shuffled order, so that no test leans on what another left behind. To repeat a failure:
#   cd build && ./qm_tests --gtest_shuffle --gtest_random_seed=<the seed printed>
seed=$((RANDOM % 99999 + 1))
echo "All tests in one process, shuffled with seed $seed"
(cd build && ./qm_tests --gtest_shuffle --gtest_random_seed="$seed" --gtest_brief=1)
# The perf test once, on the plain build: its report must be written (the verdict is not checked).
tests/perf_test_run.sh build/quillmarch

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON -DQM_TESTS=ON
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
