#!/usr/bin/env bash
# Builds the demo project with pagloom-cli and checks the site in headless Chromium
# (over http://127.0.0.1 and over file://). PAGLOOM_CLI names another pagloom-cli to use.
set -euo pipefail
cd "$(dirname "$0")/.."
cli="${PAGLOOM_CLI:-build/bin/pagloom-cli}"
if [ ! -x "$cli" ]; then
  ./scripts/build.sh
fi
(
  cd tests/e2e
  if [ -f package-lock.json ]; then
    npm ci --no-audit --no-fund --loglevel=error
  else
    npm install --no-audit --no-fund --loglevel=error
  fi
)
node tests/e2e/run.js --cli "$cli" --project examples/demo/demo.plp
