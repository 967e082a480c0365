#!/usr/bin/env bash
# Side by side with ledger-cli on the same books: writes the posted journal lines of a data
# directory (as bench_startup_check keeps them under KONTARO_BENCH_DIR) as a ledger-cli journal,
# one transaction per line (debit, credit and VAT posting), and times `ledger bal` on it.
#   bench/compare_ledger_cli.sh /tmp/bench/100000-20240101/KT2024
# Needs sqlite3, ledger and GNU time.
set -euo pipefail
books=${1:?data directory}
journal=$(mktemp --suffix=.ledger)
trap 'rm -f "$journal"' EXIT
sqlite3 -separator $'\t' "$books/journal.DB" \
    "SELECT Datum, Bnr, Buchtext, SollKnt, HabenKnt, UstKnt,
            coalesce(SollBetrag, 0), coalesce(HabenBetrag, 0), coalesce(UstSoll, 0), coalesce(UstHaben, 0)
     FROM journal WHERE Ok IN ('=', '#') ORDER BY pos" |
    awk -F'\t' '
        function amount(cents) { return sprintf("%s%d.%02d EUR", cents < 0 ? "-" : "", (cents < 0 ? -cents : cents) / 100, (cents < 0 ? -cents : cents) % 100) }
        {
            gsub("-", "/", $1)
            printf "%s (%s) %s\n", $1, $2, $3
            printf "    %s    %s\n", $4, amount($7)
            printf "    %s    %s\n", $5, amount(-$8)
            if ($6 != "") printf "    %s    %s\n", $6, amount($9 - $10)
            print ""
        }' >"$journal"
echo "$(grep -c '^[0-9]' "$journal") transactions"
/usr/bin/time -f 'ledger bal: %e s wall, %M KiB peak' ledger -f "$journal" bal >/dev/null
