#!/usr/bin/env bash
# Builds the engine and its tests with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELVORIN_ENGINE_ONLY=ON \
  -DZELVORIN_SANITIZE=ON -DZELVORIN_WERROR=ON
cmake --build build-asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
