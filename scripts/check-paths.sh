#!/usr/bin/env bash
# Fails when a build, test or script file names a path outside the checkout: a clone must
# build and test with nothing beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
pattern='\.\./shared|\.\./\.\./|/work/|\$\{(PROJECT|CMAKE)_SOURCE_DIR\}/\.\.'
hits=$(git ls-files -- '*.cmake' '*CMakeLists.txt' '*.sh' '.ci/*' 'tests/*' 'benchmarks/*' 'fuzz/*' \
         ':!tests/reference/*' \
       | xargs -r grep -nE "$pattern" -- 2>/dev/null | grep -v '^scripts/check-paths.sh:' || true)
if [ -n "$hits" ]; then
  echo "Paths outside the checkout:" >&2
  echo "$hits" >&2
  exit 1
fi
