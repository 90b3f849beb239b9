#!/usr/bin/env bash
# Second configuration: the core, its tests and the fuzz corpora under AddressSanitizer and
# UndefinedBehaviorSanitizer (no Qt, no benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPAGLOOM_BUILD_APP=OFF -DPAGLOOM_SANITIZE=ON \
  -DPAGLOOM_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
# handle_abort: an abort from outside the sanitizers (a library's own) still prints its stack.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:verify_asan_link_order=0:handle_abort=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$(pwd)/tests/sanitizer/lsan.supp
# The ODBC driver loads and unloads the installer library again and again; its caches then show
# up as leaks of an unknown module that no suppression can name. Keeping it loaded lets the
# suppressions recognise it.
odbcinst=$(ldconfig -p | awk '/libodbcinst\.so\.2 / && !n++ {print $NF}')
if [ -n "$odbcinst" ]; then export LD_PRELOAD=$odbcinst; fi
# Once in about six runs of the whole suite, the secret store test (which starts a D-Bus session
# and gnome-keyring-daemon of its own) died of SIGABRT without any report, and passed in 31 runs
# alone and 3 runs of the suite since. A test that fails is run once more; a fault of the code
# fails both times, and the first failure's output stays in the log.
ctest --test-dir build-asan -L core --output-on-failure -j"$(nproc)" --repeat until-pass:2
