#!/usr/bin/env bash
# Crash test: kills the program with SIGKILL at a random moment while it posts, undoes, inserts and
# deletes lines on a copy of the demo books; after every kill the program must start again and the
# invariant checker must find the books consistent.
#   tests/reliability/kill_test.sh [BUILD_DIR] [KILLS]      (defaults: build, 200)
# Prints the figures: kills / inconsistent books / failed restarts. Not part of the normal test run.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd) || exit 2 # absolute: cases run in other directories
kills=${2:-200}
neu=$build/tools/kontaro-neu
runner=$build/tools/kontaro-scenario
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8
books=$work/KT2026
"$neu" --demo "$books" >/dev/null 2>&1 || { echo "demo books cannot be made"; exit 2; }

# One long scenario of posting commands; the kill ends it somewhere.
{
    echo "clock 10.12.2026"
    echo "books in $books"
    echo "start"
    for round in $(seq 1 150); do
        cat <<STEPS
type _Buchen.SollKnt 2800
type _Buchen.HabenKnt 4010
type _Buchen.SollBetrag $round,00
type _Buchen.Buchtext "Runde $round"
focus _Buchen.Beleg
click _Buchen.JournalPlus
type _Buchen.SollKnt 5000
type _Buchen.HabenKnt 2800
type _Buchen.SollBetrag 1,$((round % 90 + 10))
focus _Buchen.Buchtext
click _Buchen.JournalPlus
click _Buchen.JournalMinus
click _Buchen.JournalEinfuegen
type _Buchen.SollKnt 2810
type _Buchen.HabenKnt 2800
type _Buchen.SollBetrag 2,00
focus _Buchen.Buchtext
click _Buchen.JournalPlus
answer yes
click _Buchen.JournalLoeschen
click _Buchen.JournalMinus
STEPS
    done
} >"$work/work.scn"
printf 'clock 10.12.2026\nbooks in %s\nstart\nexpect running\nexpect books consistent\n' "$books" >"$work/check.scn"

inconsistent=0 failed=0 leftovers=0
for kill in $(seq 1 "$kills"); do
    "$runner" "$work/work.scn" >/dev/null 2>&1 &
    pid=$!
    sleep "0.$((RANDOM % 9 + 1))$((RANDOM % 10))"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    if ! "$runner" "$work/check.scn" >"$work/out" 2>&1; then
        if grep -q "nicht stimmig" "$work/out"; then
            inconsistent=$((inconsistent + 1))
            echo "Kill $kill: Bücher nicht stimmig"; sed -n 2,6p "$work/out"
        else
            failed=$((failed + 1))
            echo "Kill $kill: Neustart fehlgeschlagen"; sed -n 2,4p "$work/out"
        fi
        # Go on from fresh books, so that one fault is not counted again and again.
        rm -rf "$books" && "$neu" --demo "$books" >/dev/null 2>&1
    fi
    leftovers=$((leftovers + $(find "$books" -name 'Kontaro.lock-mj*' | wc -l)))
done
lines=$(sqlite3 "$books/journal.DB" 'SELECT count(*) FROM journal' 2>/dev/null)
echo "Kills: $kills, Bücher nicht stimmig: $inconsistent, Neustart fehlgeschlagen: $failed," \
    "übrig gebliebene Master-Journale nach dem Neustart: $leftovers (Journal zuletzt $lines Zeilen)"
[ $inconsistent -eq 0 ] && [ $failed -eq 0 ]
