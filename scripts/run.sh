#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it on the bundled sample data
# (quarterly US macro data, 1960Q1-2008Q4).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target zelvorin
exec build/app/zelvorin "$(pwd)/samples/usmacro.zvd"
