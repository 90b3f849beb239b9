#!/usr/bin/env bash
# Configures and builds pagloom into build/ (incremental). Warnings are errors.
# Arguments name the targets to build (default: everything, tests and benchmarks included).
set -euo pipefail
cd "$(dirname "$0")/.."
# Everything includes the tests, which need their tools; named targets need only the build's.
if [ $# -eq 0 ]; then ./scripts/deps.sh --test; else ./scripts/deps.sh; fi
launcher=()
if command -v ccache >/dev/null; then
  # Shared with build-noqt/ (same flags), so that one costs little after this.
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGLOOM_WERROR=ON "${launcher[@]}" \
  ${PAGLOOM_CMAKE_ARGS:-} >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build -j"$(nproc)" "${targets[@]}"
