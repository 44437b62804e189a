#!/usr/bin/env bash
# The demo medium's languages: every NAME.po passes gettext's msgfmt --check
# and `langtool check --release`; its table TABLES/NAME passes `langtool
# check` without a warning and holds each text of the catalogue (as
# langtool lists it) as the PO file wrote it, through the code page and back.
#
# usage: check-languages.sh LANGTOOL SOURCES_DIR TABLES_DIR
set -u
langtool=$1 sources=$2 tables=$3
catalogue=$("$langtool" catalogue | cut -f2 | sort)
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# A PO file's translations, one 'msgctxt "NAME" msgstr "TEXT"' line each.
translations() {
    msgcat --no-wrap --sort-output "$1" |
        awk '/^msgctxt/ { context = $0 } /^msgstr/ && context { print context, $0; context = "" }'
}

count=0
for source in "$sources"/*.po; do
    name=$(basename "$source" .po)
    table=$tables/$name
    count=$((count + 1))
    report=$(msgfmt --check -o /dev/null "$source" 2>&1) || fail "$name: msgfmt --check: $report"
    report=$("$langtool" check --release "$source" 2>&1)
    echo "$report" | grep -q ': 0 errors, 0 warnings$' || fail "$name: $report"
    page=$(echo "$report" | sed -n 's/.*: code page \([0-9]*\) (from .*/\1/p')
    report=$("$langtool" check "$table" --codepage "$page" 2>&1)
    echo "$report" | grep -q ': 0 errors, 0 warnings$' || fail "$name: $report"

    expected=$(translations "$source")
    actual=$(translations <("$langtool" dump "$table" --codepage "$page"))
    [ "$expected" = "$actual" ] || fail "$name: the table differs from the PO file:
$(diff <(echo "$expected") <(echo "$actual"))"
    given=$(echo "$actual" | sed 's/^msgctxt "\([A-Z_]*\)".*/\1/' | sort)
    [ "$given" = "$catalogue" ] || fail "$name: gives '$given', not the catalogue's texts"
done

[ $count -ge 5 ] || fail "only $count languages in $sources"
for required in English Deutsch Francais Italiano Espanol; do
    [ -f "$sources/$required.po" ] || fail "no $required.po"
done
[ $failures = 0 ] || exit 1
echo "$count language tables checked"
