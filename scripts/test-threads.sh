#!/usr/bin/env bash
# Third configuration: the tests that build sites, under ThreadSanitizer. A build writes its
# files on helper threads; this run reports any access the threads do not agree on.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGLOOM_BUILD_APP=OFF -DPAGLOOM_TSAN=ON \
  -DPAGLOOM_BUILD_BENCH=OFF -DPAGLOOM_BUILD_FUZZ=OFF >/dev/null
targets=(test-generator test-tablebuild test-groups test-dreamweaver)
cmake --build build-tsan -j"$(nproc)" --target "${targets[@]}"
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
for t in "${targets[@]}"; do
  echo "-- $t"
  build-tsan/bin/"$t" --gtest_brief=1
done
