#!/usr/bin/env bash
# Bad-input run: each case takes a fresh copy of the demo books, spoils them in one way (or types one
# odd input), runs the program headless through the scenario runner, and checks the exit code, the
# German message (the case's expectations) and the sha256 of every file before and after.
#   tests/reliability/bad_inputs.sh [BUILD_DIR]      (default: build)
# Prints one line per case and the figures: tried / clear German message / crashes / files changed
# wrongly. Not part of the normal test run.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd) || exit 2 # absolute: cases run in other directories
neu=$build/tools/kontaro-neu
runner=$build/tools/kontaro-scenario
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8
year=2026
"$neu" --demo "$work/demo/KT$year" >/dev/null 2>&1 || { echo "demo books cannot be made"; exit 2; }

tried=0 clear=0 crashes=0 changed=0

sums() { (cd "$1" && find . -type f ! -name 'Kontaro.lock*' -print0 | sort -z | xargs -0 -r sha256sum); }

# check NAME ALLOWED MUTATION STEPS [LIMIT_KB]
#   ALLOWED: extended regex of the files that may change ('^$' for none); MUTATION: shell commands
#   run in the copy; STEPS: scenario lines after "books in DIR"; LIMIT_KB: file-size limit of the
#   program (a nearly full disk).
check() {
    local name=$1 allowed=$2 mutate=$3 steps=$4 limit=${5:-unlimited}
    local dir=$work/case/KT$year
    rm -rf "$work/case" && mkdir -p "$work/case" && cp -a "$work/demo/KT$year" "$dir"
    (cd "$dir" && eval "$mutate")
    sums "$dir" >"$work/before"
    printf 'clock 10.12.%s\nbooks in %s\n%s\n' "$year" "$dir" "$steps" >"$work/case.scn"
    # Through a pipe: the file-size limit must not hit the runner's own output.
    (trap '' XFSZ; ulimit -f "$limit"; timeout 60 "$runner" "$work/case.scn") 2>&1 | cat >"$work/out"
    local rc=${PIPESTATUS[0]}
    sums "$dir" >"$work/after"
    local wrong
    wrong=$(diff "$work/before" "$work/after" | grep '^[<>]' | awk '{print $3}' | sort -u | grep -Ev "$allowed")
    tried=$((tried + 1))
    local verdict=ok
    if [ $rc -ge 124 ]; then
        crashes=$((crashes + 1)); verdict="ABSTURZ($rc)"
    elif [ $rc -eq 0 ]; then
        clear=$((clear + 1))
    else
        verdict="MELDUNG: $(grep -m1 'eingaben\|case.scn' "$work/out" | sed 's/.*case.scn:[0-9]*: //')"
    fi
    if [ -n "$wrong" ]; then
        changed=$((changed + 1)); verdict="$verdict GEÄNDERT: $(echo $wrong)"
    fi
    printf '%-58s %s\n' "$name" "$verdict"
}

# A program that starts writes the settings file (date of the first line) and saves the current line.
started='^\./(Kontaro\.Ini|journal\.DB)$'
failed_start() { printf 'start\nexpect %s containing "%s"\nexpect ended\nexpect nothing' "$1" "$2"; }
quiet_start='start
expect running'

# Tables: missing, garbage, cut in half, empty, a directory, from a newer program version.
for t in journal.DB kntplan.DB konten.DB; do
    check "$t fehlt" '^$' "rm -f $t" "$(failed_start error "$t")"
    check "$t ist Textmüll" '^$' "printf 'kaputt %.0s' {1..300} > $t" "$(failed_start error "$t")"
    check "$t halb abgeschnitten" '^$' "truncate -s \$((\$(stat -c %s $t) / 2)) $t" "$(failed_start error "$t")"
    check "$t leer (0 Byte)" '^$' ": > $t" "$(failed_start error "$t")"
    check "$t ist ein Verzeichnis" '^$' "rm -f $t && mkdir $t" "$(failed_start error "$t")"
    check "$t von neuerer Programmversion" '^$' "sqlite3 $t 'PRAGMA user_version=99'" "$(failed_start error "$t")"
done
denied="Keine Zugriffsberechtigung auf Buchhaltungsdaten"
check "journal1.DB fehlt" '^$' "rm -f journal1.DB" "$(failed_start message "$denied")"
check "journal1.DB ist Textmüll" '^$' "printf 'kaputt %.0s' {1..300} > journal1.DB" "$(failed_start message "$denied")"
check "journal1.DB leer (0 Byte)" '^$' ": > journal1.DB" "$(failed_start message "$denied")"
check "journal1.DB ist ein Verzeichnis" '^$' "rm -f journal1.DB && mkdir journal1.DB" "$(failed_start message "$denied")"
check "Journal ohne Feld Buchtext" '^$' "sqlite3 journal.DB 'ALTER TABLE journal DROP COLUMN Buchtext'" \
    "$(failed_start error "journal.DB")"
check "Kontaro.Ini ist ein Verzeichnis" '^$' "rm -f Kontaro.Ini && mkdir Kontaro.Ini" "$(failed_start error "Kontaro.Ini")"
check "knt1plan.DBF ist Textmüll" '^\./Kontaro\.Ini$' "printf 'kaputt' > knt1plan.DBF" "$quiet_start"

# Damaged structure: shown at start, posting refused.
check "Doppelte Kontonummer" "$started" \
    "sqlite3 kntplan.DB \"INSERT INTO kntplan (Knr, Typ, Name) SELECT Knr, Typ, 'Doppelt' FROM kntplan LIMIT 1\"" \
    'start
expect message containing "-mal im Kontoplan"
click _Buchen.JournalPlus
expect message containing "Buchen ist nicht möglich"'
check "Gebucht nach ungebucht" "$started" \
    "sqlite3 journal.DB \"UPDATE journal SET Ok='~' WHERE rowid=(SELECT min(rowid) FROM journal)\"" \
    'start
expect message containing "nicht gebucht, aber die späteren Zeilen"
expect message containing "SOLL/HABEN ungleich"
click _Buchen.JournalPlus
expect message containing "Buchen ist nicht möglich"'

# Files the program reads but can do without.
check "Kontaro.Ini mit Binärmüll" "$started" "head -c 600 /dev/urandom > Kontaro.Ini" "$quiet_start"
check "Kontaro.Ini mit unlesbaren Werten" "$started" \
    "printf '[Datum]\r\nGeschuetzt=abc\r\n[DATEN]\r\nAnrNr=xyz\r\nBelegNR=1e99\r\n' > Kontaro.Ini" "$quiet_start"
check "Kontaro.Ini fehlt" "$started" "rm -f Kontaro.Ini" "$quiet_start"
check "vorlagen.txt ist ein Verzeichnis" "$started" "rm -f vorlagen.txt && mkdir vorlagen.txt" "$quiet_start"
check "vorlagen.txt mit Binärmüll" "$started" "head -c 2000 /dev/urandom > vorlagen.txt" "$quiet_start"
check "Verwaiste Master-Journal-Datei" "$started" "printf 'journal.DB-journal' > Kontaro.lock-mj0A1B2C3D" \
    'start
expect running'
check "Zweites Programm auf denselben Büchern" "$started" ":" 'start
start another
expect message containing "bereits in einem anderen Kontaro-Programm"'

# Odd input in the posting window: a German message, the line as it was.
input_case() { check "$1" "$started" ":" "start
$2"; }
input_case "Unbekanntes Sollkonto" 'type _Buchen.SollKnt 99999
expect message "Konto 99999 gibt es nicht."'
input_case "Zu langes Habenkonto" 'type _Buchen.HabenKnt 123456789012
expect message "Konto 123456789012 gibt es nicht."'
input_case "Konto mit Leerzeichen in der Mitte" 'type _Buchen.SollKnt "28 00"
expect message "Konto 28 00 gibt es nicht."'
input_case "Konto aus Steuerzeichen" 'type _Buchen.SollKnt "	"
expect nothing'
for d in 31.02.2026 abc 1.13.2026 00.00.0000 32.1; do
    input_case "Datum $d" "type _Buchen.Datum $d
expect message containing \"$d\""
done
input_case "Datum im Jahr 2100" 'type _Buchen.Datum 15.12.2100
focus _Buchen.Buchtext
expect _Buchen.meldung "FEHLER: Datum liegt nicht im Geschäftsjahr 2026"
click _Buchen.JournalPlus
expect message "Bitte zuerst ROTE Fehlermeldungen beseitigen!"'
input_case "Datum im Vorjahr" 'type _Buchen.Datum 31.12.2025
focus _Buchen.Buchtext
expect _Buchen.meldung "FEHLER: Datum liegt nicht im Geschäftsjahr 2026"'
for a in abc 1,2,3 1e5 99999999999999999999 "--5" "12.34.56"; do
    input_case "Betrag $a" "type _Buchen.SollBetrag \"$a\"
expect message containing \"$a\""
done
for n in x 99999999 -70000; do
    input_case "Auszugsnummer $n" "type _Buchen.Anr \"$n\"
expect message containing \"$n\""
done
input_case "Buchtext mit Emoji an der Schnittstelle" 'type _Buchen.Buchtext "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa😀b"
focus _Buchen.Beleg
expect books consistent'
input_case "Buchtext mit Tabulator und Escape" 'type _Buchen.Buchtext "Miete	März"
expect _Buchen.Buchtext "MieteMärz"'

# A nearly full disk: the write fails with a German message and the books stay as they were.
warm='started_once() { printf "books in %s\nstart\n" "$PWD" > ../warm.scn && "$runner" ../warm.scn >/dev/null 2>&1; }; started_once'
check "Datenträger voll beim Start" '^$' ":" "$(failed_start error "der Datenträger ist voll")" 0
# Leaving the amount field saves the line, and posting writes: both fail, each with its message.
check "Datenträger voll beim Buchen" '^$' "$warm" 'start
type _Buchen.SollKnt 2800
type _Buchen.HabenKnt 4000
type _Buchen.SollBetrag 10,00
focus _Buchen.Buchtext
click _Buchen.JournalPlus
expect error containing "journal.DB"
expect error containing "journal.DB"
expect nothing
expect books consistent' 0

echo
echo "Eingaben: $tried, klare deutsche Meldung: $clear, Abstürze: $crashes, Dateien falsch geändert: $changed"
[ $crashes -eq 0 ] && [ $changed -eq 0 ]
