#!/usr/bin/env bash
# Builds the CSV-driven demo (examples/csv-demo) with pagloom-cli and checks pages made from
# the table, a second build that changes nothing, and a broken CSV that stops the build; then
# the same project on an ODBC data source (an SQLite database with a test odbc.ini).
# PAGLOOM_CLI names another pagloom-cli to use.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
cli="${PAGLOOM_CLI:-$root/build/bin/pagloom-cli}"
[ -x "$cli" ] || ./scripts/build.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FEHLER: $1" >&2; fi
}
has() { grep -qF -- "$2" "$1"; }  # has FILE TEXT (Windows-1252 bytes compared as they are)
lacks() { ! grep -qF -- "$2" "$1"; }

# The project names its table and templates relative to its own folder, so it is built from
# the repository's folder, not from its own.
cp -r examples/csv-demo "$work/demo"
site="$work/site"
mkdir -p "$site"
# Each build's status is caught, so a failing build is counted instead of ending the script.
status=0
"$cli" build "$work/demo/csv-demo.plp" --dest "$site" >"$work/log1" 2>"$work/err1" || status=$?
check "erster Build endet mit Status 0" test "$status" -eq 0
check "keine Meldungen" test ! -s "$work/err1"
check "Hauptmenue-Seite aus dem Tabellenwert benannt" test -f "$site/Gehoelze.htm"
check "Untermenue-Seite aus beiden Werten benannt" test -f "$site/Stauden_Sonnenstauden.htm"
check "Datensatzblock je Zeile der Gruppe" has "$site/Stauden_Sonnenstauden.htm" "<tr><td>Lavendel</td>"
check "nur die Zeilen der Gruppe" lacks "$site/Stauden_Sonnenstauden.htm" "Funkie"
check "Feld ausserhalb eines Blocks nimmt die erste Zeile" has "$site/Gehoelze_Hecken.htm" "<title>Hecken</title>"
check "Umlaute als Zeichenreferenz" has "$site/Zubehoer.htm" "<h1>Zubeh&#246;r</h1>"
check "Web-Adressen als Links" has "$site/Stauden_Sonnenstauden.htm" '<a href="http://www.example.org/sonnenhut" target="_blank">'
check "spitze Klammern im Wert maskiert" has "$site/Zubehoer_Werkzeug.htm" "&#60;Profi-Qualit&#228;t&#62;"
check "Startseite mit allen Zeilen" test "$(grep -c '<tr><td>' "$site/erste.htm")" -eq 9
check "Menue-Skript nennt das neue Menue" has "$site/index.js" "Obstb"
check "Sitemap listet Untermenue-Seiten" has "$site/sitemap.xml" "Zubehoer_Erde___Duenger.htm"

status=0
"$cli" build "$work/demo/csv-demo.plp" --dest "$site" >"$work/log2" 2>"$work/err2" || status=$?
check "zweiter Build endet mit Status 0" test "$status" -eq 0
check "zweiter Build aendert nichts" lacks "$work/log2" "OK"

# Rows of different lengths: the slot loses its table, the build does not start.
printf 'Bereich;Gruppe;Pflanze\r\nStauden;Sonnenstauden;Lavendel\r\nStauden;Hecken\r\n' >"$work/demo/katalog.csv"
status=0
"$cli" build "$work/demo/csv-demo.plp" --dest "$work/site2" >"$work/log3" 2>"$work/err3" || status=$?
check "kaputte CSV-Datei: Status 2" test "$status" -eq 2
check "kaputte CSV-Datei: Meldung des Imports" has "$work/err3" "Fehler: Die Datensätze enthalten unterschiedlich viele Datenfelder!"
check "kaputte CSV-Datei: Meldung zur Datei" has "$work/err3" "Fehler beim Einlesen der Datei:katalog.csv"
check "kaputte CSV-Datei: keine Seiten" test ! -e "$work/site2/Stauden.htm"

# The same catalogue as a table of an ODBC data source.
odbc="$work/odbc"
mkdir -p "$odbc"
sqlite3 "$odbc/katalog.sqlite" <<'SQL'
CREATE TABLE katalog (Bereich TEXT, Gruppe TEXT, Pflanze TEXT, Preis TEXT, Hinweis TEXT);
INSERT INTO katalog VALUES ('Stauden', 'Sonnenstauden', 'Lavendel', '3,90 €', 'Duftet');
INSERT INTO katalog VALUES ('Stauden', 'Schattenstauden', 'Funkie', '4,90 €', 'Große Blätter');
INSERT INTO katalog VALUES ('Gehölze', 'Obstbäume', 'Apfelbaum', '29,00 €', 'Sorte Boskoop');
SQL
printf '[PagloomSQLite]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\n' >"$odbc/odbcinst.ini"
printf '[Katalog]\nDriver=PagloomSQLite\nDatabase=%s\n' "$odbc/katalog.sqlite" >"$odbc/odbc.ini"
sed -e 's/^\(firstpage\|mainmenu\|submenu\)_database=.*/\1_database=Katalog/' \
    -e 's/^\(firstpage\|mainmenu\|submenu\)_table=.*/\1_table=katalog/' \
    -e 's/_table_type=csv_table/_table_type=bde_table/' "$work/demo/csv-demo.plp" >"$work/demo/odbc-demo.plp"
osite="$work/osite"
mkdir -p "$osite"
status=0
ODBCSYSINI="$odbc" ODBCINI="$odbc/odbc.ini" "$cli" build "$work/demo/odbc-demo.plp" --dest "$osite" \
  >"$work/log4" 2>"$work/err4" || status=$?
check "ODBC: Status 0" test "$status" -eq 0
check "ODBC: keine Meldungen" test ! -s "$work/err4"
check "ODBC: Seite je Hauptmenuepunkt" has "$osite/Gehoelze.htm" "<li>Apfelbaum (Obstb&#228;ume): 29,00"
check "ODBC: Seite je Untermenuepunkt" has "$osite/Stauden_Schattenstauden.htm" "<td>Gro&#223;e Bl&#228;tter</td>"
check "ODBC: nur die Zeilen des Punkts" lacks "$osite/Stauden_Schattenstauden.htm" "Lavendel"

echo "csvdemo: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
