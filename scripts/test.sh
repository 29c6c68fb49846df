#!/usr/bin/env bash
# Installs what is missing, configures, builds (the benchmarks too, so that they keep
# building) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVORIN_WERROR="$werror" -DZELVORIN_BENCHMARKS=ON
cmake --build build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$(nproc)"
