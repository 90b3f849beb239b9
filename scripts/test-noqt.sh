#!/usr/bin/env bash
# Builds the core, pagloom-cli and the core tests without Qt (folder build-noqt/, warnings are
# errors), so nothing in them can come to need Qt unnoticed. Incremental; uses ccache if present.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "== core and CLI without Qt"
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-noqt -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGLOOM_WERROR=ON \
  -DPAGLOOM_BUILD_APP=OFF -DPAGLOOM_BUILD_BENCH=OFF -DPAGLOOM_BUILD_FUZZ=OFF "${launcher[@]}" >/dev/null
targets=(pagloom-core pagloom-cli)
for dir in tests/core/*/; do
  compgen -G "$dir*.cpp" >/dev/null && targets+=("test-$(basename "$dir")")
done
cmake --build build-noqt -j"$(nproc)" --target "${targets[@]}"
# Without the app no Qt package is looked for, so a Qt include fails to compile; a Qt library
# named by hand in a link line would still slip through.
if grep -qi 'qt6\|libqt' build-noqt/build.ninja; then
  echo "FEHLER: der Build ohne Qt nennt Qt:" >&2
  grep -io '[^ ]*\(qt6\|libqt\)[^ ]*' build-noqt/build.ninja | sort -u >&2
  exit 1
fi
echo "noqt: ${#targets[@]} targets built without Qt"
