#!/usr/bin/env bash
# Configures and builds pagloom into build/ (incremental).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${PAGLOOM_CMAKE_ARGS:-} >/dev/null
cmake --build build -j"$(nproc)"
