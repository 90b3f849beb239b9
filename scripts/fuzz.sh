#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds (default 600), two at a time and at
# low priority, starting from the corpora in fuzz/corpus/. New inputs stay in build-fuzz/work/;
# crashes, hangs and leaks land in build-fuzz/artifacts/<target>/. With MERGE=1 each corpus in
# fuzz/corpus/ is then replaced by a minimised merge of itself and what the run found.
#   scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
jobs=${FUZZ_JOBS:-2}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGLOOM_FUZZ=ON \
  -DPAGLOOM_BUILD_APP=OFF -DPAGLOOM_BUILD_TESTS=OFF -DPAGLOOM_BUILD_BENCH=OFF -DPAGLOOM_SANITIZE=ON >/dev/null
if [ $# -gt 0 ]; then targets=("$@"); else
  targets=()
  for src in fuzz/*_fuzz.cpp; do n=$(basename "$src" _fuzz.cpp); targets+=("$n"); done
fi
nice -n 10 cmake --build build-fuzz -j"$jobs" --target $(printf 'fuzz-%s ' "${targets[@]}")

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$(pwd)/tests/sanitizer/lsan.supp
# As in test-sanitizers.sh: keep the ODBC installer library loaded so its caches are named.
odbcinst=$(ldconfig -p | awk '/libodbcinst\.so\.2 / && !n++ {print $NF}')
if [ -n "$odbcinst" ]; then export LD_PRELOAD=$odbcinst; fi

run_one() {
  local name=$1 work=build-fuzz/work/$1 art=build-fuzz/artifacts/$1 log=build-fuzz/logs/$1.log
  mkdir -p "$work" "$art" build-fuzz/logs
  nice -n 10 build-fuzz/bin/fuzz-"$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$art/" "$work" "fuzz/corpus/$name" >"$log" 2>&1 || true
  local stats
  stats=$(grep -E '^(stat::number_of_executed_units|Done [0-9]+ runs)' "$log" | tr '\n' ' ')
  local found
  found=$(find "$art" -type f | wc -l)
  echo "fuzz-$name: $stats findings: $found (log $log)"
}

running=0
for name in "${targets[@]}"; do
  run_one "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then wait -n; running=$((running - 1)); fi
done
wait

if [ "${MERGE:-0}" = 1 ]; then
  for name in "${targets[@]}"; do
    fresh=build-fuzz/merged/$name
    rm -rf "$fresh" && mkdir -p "$fresh"
    # Edge coverage only (no hit counts), so the kept corpus stays a few hundred small files.
    build-fuzz/bin/fuzz-"$name" -merge=1 -use_counters=0 -timeout=10 "$fresh" "fuzz/corpus/$name" "build-fuzz/work/$name" \
      >build-fuzz/logs/$name.merge.log 2>&1
    # Inputs of fixed findings stay under their own names, new coverage or not.
    cp fuzz/corpus/"$name"/regression-* "$fresh"/ 2>/dev/null || true
    rm -rf "fuzz/corpus/$name" && mv "$fresh" "fuzz/corpus/$name"
    echo "fuzz/corpus/$name: $(ls "fuzz/corpus/$name" | wc -l) files"
  done
fi
