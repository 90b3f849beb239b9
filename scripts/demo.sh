#!/usr/bin/env bash
# Builds the program and pagloom-cli (nothing else: tests and benchmarks come with
# scripts/test.sh) and the demo site in examples/demo into out/demo-site.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh pagloom pagloom-cli
if [ ! -f examples/demo/demo.plp ]; then
  build/bin/pagloom-cli --version
  exit 0
fi
mkdir -p out/demo-site
build/bin/pagloom-cli build examples/demo/demo.plp --dest out/demo-site
echo
echo "Die Demo-Site liegt in $(pwd)/out/demo-site; öffnen Sie $(pwd)/out/demo-site/index.htm im Browser."
