#!/usr/bin/env bash
# Second configuration: the core, its tests and the fuzz corpora under AddressSanitizer and
# UndefinedBehaviorSanitizer (no Qt).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPAGLOOM_BUILD_APP=OFF -DPAGLOOM_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$(pwd)/tests/sanitizer/lsan.supp
ctest --test-dir build-asan -L core --output-on-failure -j"$(nproc)"
