#!/usr/bin/env bash
# The demo medium's language tables as built: for every source NAME.txt the
# table TABLES/NAME passes `langtool check`, gives exactly the catalogue's
# twelve texts (an index left out would blank its window), reads back through
# the code page as the source wrote it, and its buttons' accelerators are
# distinct within the dialog.
#
# usage: check-languages.sh LANGTOOL SOURCES_DIR TABLES_DIR
set -u
langtool=$1 sources=$2 tables=$3
catalogue="658 659 661 662 664 665 668 669 785 786 787 788"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

count=0
for source in "$sources"/*.txt; do
    name=$(basename "$source" .txt)
    table=$tables/$name
    count=$((count + 1))
    if [ ! -f "$table.sif" ] || [ ! -f "$table.poo" ]; then
        fail "$name: no table $table.sif/.poo"
        continue
    fi

    report=$("$langtool" check "$table" 2>&1) || fail "$name: langtool check: $report"
    echo "$report" | grep -q ': 0 errors, 0 warnings$' || fail "$name: $report"

    given=$(grep -v '^#' "$source" | grep -v '^$' | cut -f1 | sort -n | tr '\n' ' ')
    [ "$given" = "$catalogue " ] || fail "$name: gives indexes '$given', not the catalogue's"

    # What the table holds, in the source's form: the given texts survive
    # the code page unchanged (dump prints the gaps below 658 as empty texts).
    expected=$(grep -v '^#' "$source" | grep -v '^$' | sort -n)
    actual=$("$langtool" dump "$table" | awk -F '\t' '$2 != ""' | sort -n)
    [ "$expected" = "$actual" ] || fail "$name: dump differs from the source:
$(diff <(echo "$expected") <(echo "$actual"))"

    # Browse (661), Install (662) and Exit (664) each carry one accelerator,
    # all three different.
    letters=
    for index in 661 662 664; do
        text=$(grep -P "^$index\t" "$source" | cut -f2-)
        marks=$(printf '%s' "$text" | sed 's/&&//g' | tr -cd '&' | wc -c)
        [ "$marks" = 1 ] || fail "$name: text $index '$text' has $marks accelerators"
        letters="$letters$(printf '%s' "$text" | sed 's/&&//g; s/.*&\(.\).*/\1/' | tr '[:upper:]' '[:lower:]')"
    done
    [ "$(printf '%s' "$letters" | fold -w1 | sort -u | wc -l)" = 3 ] ||
        fail "$name: the buttons share an accelerator ($letters)"
done

[ $count -ge 5 ] || fail "only $count language sources in $sources"
for required in English Deutsch Français Italiano Español; do
    [ -f "$sources/$required.txt" ] || fail "no $required.txt"
done
[ $failures = 0 ] || exit 1
echo "$count language tables checked"
