#!/usr/bin/env bash
# Checks the formatting, builds everything and runs every test, then the scripts/test-*.sh steps.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh --test
echo "== scripts/check-format.sh"
./scripts/check-format.sh
./scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
for extra in scripts/test-*.sh; do
  [ -e "$extra" ] || continue
  echo "== $extra"
  "$extra"
done
