#!/usr/bin/env bash
# Second configuration: the core, its tests and the fuzz corpora under AddressSanitizer and
# UndefinedBehaviorSanitizer (no Qt, no benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPAGLOOM_BUILD_APP=OFF -DPAGLOOM_SANITIZE=ON \
  -DPAGLOOM_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:verify_asan_link_order=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$(pwd)/tests/sanitizer/lsan.supp
# The ODBC driver loads and unloads the installer library again and again; its caches then show
# up as leaks of an unknown module that no suppression can name. Keeping it loaded lets the
# suppressions recognise it.
odbcinst=$(ldconfig -p | awk '/libodbcinst\.so\.2 / && !n++ {print $NF}')
if [ -n "$odbcinst" ]; then export LD_PRELOAD=$odbcinst; fi
ctest --test-dir build-asan -L core --output-on-failure -j"$(nproc)"
