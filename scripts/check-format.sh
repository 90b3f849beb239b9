#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ file under src, tests, bench or fuzz differs from
# what clang-format makes of it with the repository's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || ./scripts/deps.sh --test
files=()
while IFS= read -r f; do
  [ -f "$f" ] && files+=("$f")  # a file deleted but not yet committed is skipped
done < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
  'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
status=0
report=$(clang-format --style=file --dry-run --Werror "${files[@]}" 2>&1) || status=$?
if [ "$status" -ne 0 ]; then
  echo "Nicht nach .clang-format formatiert (clang-format -i behebt es):" >&2
  # One line per file; should clang-format fail otherwise, its own message is shown.
  bad=$(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/  \1/p' <<<"$report" | sort -u)
  echo "${bad:-$report}" >&2
  exit 1
fi
echo "format: ${#files[@]} files ok"
