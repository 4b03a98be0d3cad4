#!/usr/bin/env bash
# Installs what the game needs, builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DQM_TESTS=OFF
cmake --build build-release -j"$(nproc)"
exec build-release/quillmarch "$@"
