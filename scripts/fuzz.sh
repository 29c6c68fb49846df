#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a short,
# bounded time (FUZZ_SECONDS, default 20). Seeds come from fuzz/corpus/<target>/ when that
# folder exists; what a run finds is written to build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-20}"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELVORIN_ENGINE_ONLY=ON -DZELVORIN_TESTS=OFF -DZELVORIN_FUZZ=ON >/dev/null
cmake --build build-fuzz
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build-fuzz/findings
status=0
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  echo "== $name (${seconds}s)"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="build-fuzz/findings/$name-" "$corpus" "${seeds[@]}" 2>"build-fuzz/$name.log"; then
    tail -40 "build-fuzz/$name.log"
    echo "FUZZ FAILURE: $name (input in build-fuzz/findings/)"
    status=1
  else
    tail -1 "build-fuzz/$name.log"
  fi
done
exit "$status"
