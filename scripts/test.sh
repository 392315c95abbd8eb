#!/usr/bin/env bash
# Builds the library, tools, tests and benchmarks with warnings as errors and runs the test
# suite twice: once normally (build/) and once under ASan+UBSan (build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh

# Wire tests talk to servers on 127.0.0.1 only; never route them through a proxy.
export no_proxy=127.0.0.1,localhost NO_PROXY=127.0.0.1,localhost

jobs=$(nproc)
run_suite() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DXMK_WERROR=ON "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== normal build =="
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DXMK_SANITIZE=ON -DXMK_BENCH=OFF
