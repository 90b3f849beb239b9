#!/usr/bin/env bash
# A group of 50 demo-sized projects: the first `pagloom-cli group` run builds all of them and
# writes the sitemap index; a second run finds no project changed and builds none.
# PAGLOOM_CLI names another pagloom-cli to use.
set -euo pipefail
cd "$(dirname "$0")/.."
cli="${PAGLOOM_CLI:-build/bin/pagloom-cli}"
if [ ! -x "$cli" ]; then
  ./scripts/build.sh
fi
cli="$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

n=50
group="$work/gruppe.plg"
{
  printf '[projects]\r\ncount=%d\r\n' "$n"
  for i in $(seq 1 "$n"); do
    mkdir -p "$work/site$i"
    sed -e "s|^destination-directory=\r\$|destination-directory=$work/site$i\r|" \
        -e "s|^urltext=http://www.example.org/gruenfeld\r\$|urltext=http://www.example.org/gruenfeld$i\r|" \
        examples/demo/demo.plp > "$work/projekt$i.plp"
    printf 'filename_%d=%s\r\nlastsave_%d=\r\n' "$i" "$work/projekt$i.plp" "$i"
  done
  printf '[group]\r\nmakemodified=1\r\nindexmap=1\r\nindexmapfile=%s\r\n' "$work/sitemap_index.xml"
} > "$group"

fail() { echo "FAIL: $*" >&2; exit 1; }

"$cli" group "$group" > "$work/log1" 2> "$work/err1" || fail "first run exited with $? ($(cat "$work/err1"))"
[ ! -s "$work/err1" ] || fail "first run printed messages: $(cat "$work/err1")"
built=$(grep -c '^Erstellen der Dateien fertig!$' "$work/log1" || true)
[ "$built" -eq "$n" ] || fail "first run built $built of $n projects"
grep -q "^Sitemap-Index: $work/sitemap_index.xml erstellen fertig\$" "$work/log1" || fail "no sitemap index"
entries=$(grep -c '^<loc>http://www.example.org/gruenfeld[0-9]*/sitemap.xml</loc>' "$work/sitemap_index.xml" || true)
[ "$entries" -eq "$n" ] || fail "sitemap index lists $entries of $n sitemaps"
grep -q $'^lastsave_50=10.12.2026 09:00:00\r$' "$group" || fail "the group file does not hold the projects' LastSave"

"$cli" group "$group" > "$work/log2" 2> "$work/err2" || fail "second run exited with $?"
skipped=$(grep -c '^Keine Änderung im Projekt ' "$work/log2" || true)
[ "$skipped" -eq "$n" ] || fail "second run skipped $skipped of $n projects"
! grep -q '^Erstelle Dateien in ' "$work/log2" || fail "second run built a project"
echo "ok - group of $n projects built, then all $n unchanged"
