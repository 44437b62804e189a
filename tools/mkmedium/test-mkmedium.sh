#!/usr/bin/env bash
# mkmedium on small made-up inputs: the layout, read-only files, autorun.inf,
# a language's own code page, the ISO's Joliet names, replacing an earlier
# medium (without autorun.inf), the same image from the same inputs and
# SOURCE_DATE_EPOCH, a width warning shown once, an incomplete language
# allowed on request, msgmerge's backups passed over and NAME.PO taken, and
# the refusals (no game, a language lacking a text or with an untranslated
# one, every failing language's errors shown, a file that is no language,
# two names that differ only in case, a name outside ASCII, a file that cannot be signed, a
# folder that is not a medium), each leaving nothing behind.
#
# usage: test-mkmedium.sh LANGTOOL
set -u
langtool=$1
here=$(cd "$(dirname "$0")" && pwd)
mkmedium=$here/mkmedium.sh
for tool in xorriso osslsigncode openssl msgen; do
    if ! command -v $tool >/dev/null; then
        echo "$tool is not installed (scripts/install-packages.sh installs it): skipped"
        exit 77
    fi
done

scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Inputs: a product with a sub-folder, two languages (Polski in code page
# 1250, which its Language names), a renderer library and a setup program.
mkdir -p "$scratch/product/Data" "$scratch/lang"
echo game >"$scratch/product/Vellmor.exe"
echo setup >"$scratch/product/Setup.exe"
echo map >"$scratch/product/Data/Map One.dat"
echo glide >"$scratch/Glide2x.dll"
echo root-setup >"$scratch/Setup.exe"
language() { # language CODE TITLE: the template translated as the English, TITLE the title
    "$langtool" pot | msgen - 2>/dev/null |
        sed -e "s/^\"Language: \\\\n\"/\"Language: $1\\\\n\"/" -e 's/charset=CHARSET/charset=UTF-8/' \
            -e "s/^msgstr \"The Vellmor Setup\"$/msgstr \"$2\"/"
}
language en "The Vellmor Setup" >"$scratch/lang/English.po"
language pl "Instalacja gry – łódź" >"$scratch/lang/Polski.po"

run() { # mkmedium with the usual inputs and the given extra arguments
    bash "$mkmedium" --product "$scratch/product" --setup "$scratch/Setup.exe" \
        --glide "$scratch/Glide2x.dll" --langtool "$langtool" "$@" >"$scratch/out.log" 2>&1
}

# 1. The layout, read-only files, code pages and the image.
out=$scratch/media/cd
if ! run --languages "$scratch/lang" --iso "$scratch/media/cd.iso" "$out"; then
    fail "mkmedium failed: $(cat "$scratch/out.log")"
fi
expected="Glide/Glide2x.dll
Languages/English.poo
Languages/English.sif
Languages/Polski.poo
Languages/Polski.sif
Languages/Setup/English.poo
Languages/Setup/English.sif
Languages/Setup/Polski.poo
Languages/Setup/Polski.sif
Setup.exe
The Vellmor/Data/Map One.dat
The Vellmor/Setup.exe
The Vellmor/Vellmor.exe
autorun.inf"
actual=$(cd "$out" 2>/dev/null && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "layout:
$(diff <(echo "$expected") <(echo "$actual"))"
[ -z "$(find "$out" -type f -perm /222)" ] || fail "writable files: $(find "$out" -type f -perm /222)"
cmp -s "$out/Setup.exe" "$scratch/Setup.exe" || fail "root Setup.exe is not the given one"
cmp -s "$out/Glide/Glide2x.dll" "$scratch/Glide2x.dll" || fail "Glide2x.dll is not the given one"
[ "$(cat "$out/autorun.inf" 2>/dev/null)" = $'[autorun]\r\nopen=Setup.exe\r\nicon=Setup.exe,0\r\nlabel=The Vellmor\r' ] ||
    fail "autorun.inf: $(od -c "$out/autorun.inf" 2>&1)"
# "ł" is 0xB3 in code page 1250 (in 1252 it does not exist); "–" is 0x96.
grep -q $'\xb3\xf3d\x9f' "$out/Languages/Polski.poo" || fail "Polski.poo is not in code page 1250"
grep -q $'Instalacja gry \x96' "$out/Languages/Polski.poo" ||
    fail "Polski.poo lacks its title in code page 1250"
"$langtool" check "$out/Languages/English" >/dev/null 2>&1 || fail "English table does not pass check"
listing=$(xorriso -read_fs norock -indev "$scratch/media/cd.iso" -find / -type f 2>/dev/null |
    sed "s|^'/||; s|'$||" | LC_ALL=C sort)
[ "$listing" = "$expected" ] || fail "ISO (Joliet) names:
$(diff <(echo "$expected") <(echo "$listing"))"
[ -z "$(ls -A "$scratch/media" | grep -v '^cd$' | grep -v '^cd.iso$')" ] ||
    fail "left over beside the medium: $(ls -A "$scratch/media")"

# A backup that msgmerge --update leaves is passed over; NAME.PO is a language.
cp "$scratch/lang/Polski.po" "$scratch/lang/Polski.po~"
mkdir -p "$scratch/upper"
cp "$scratch/lang/English.po" "$scratch/upper/Upper.PO"
run --languages "$scratch/lang" --languages "$scratch/upper" "$scratch/media/backup" ||
    fail "a backup or NAME.PO refused: $(cat "$scratch/out.log")"
languages=$(ls "$scratch/media/backup/Languages" 2>/dev/null | tr '\n' ' ')
[ "$languages" = "English.poo English.sif Polski.poo Polski.sif Setup Upper.poo Upper.sif " ] ||
    fail "languages with a backup and NAME.PO: $languages"
rm -rf "$scratch/lang/Polski.po~" "$scratch/media/backup"

# A game's existing table keeps its own texts on the medium.
mkdir -p "$scratch/game"
{ cat "$scratch/lang/English.po"; printf 'msgctxt "GAME_5"\nmsgid "Gold"\nmsgstr "Gold"\n'; } \
    >"$scratch/game/English.po"
"$langtool" build "$scratch/game/English.po" -o "$scratch/game/English" >/dev/null 2>&1 ||
    fail "no game table to start from"
run --language "$scratch/lang/English.po" --game-tables "$scratch/game" "$scratch/media/game" ||
    fail "--game-tables refused: $(cat "$scratch/out.log")"
"$langtool" dump "$scratch/media/game/Languages/English" 2>/dev/null | grep -q '^msgctxt "GAME_5"' ||
    fail "the game's own text did not reach the medium"
rm -rf "$scratch/game" "$scratch/media/game"

# 2. An earlier medium is replaced, with nothing of it left.
chmod u+w "$out/The Vellmor"
echo stale >"$out/The Vellmor/stale.txt"
run --language "$scratch/lang/English.po" --no-autorun "$out" ||
    fail "replacing a medium failed: $(cat "$scratch/out.log")"
[ ! -e "$out/autorun.inf" ] || fail "--no-autorun left autorun.inf on the medium"
[ ! -e "$out/The Vellmor/stale.txt" ] || fail "a file of the earlier medium survived"
[ ! -e "$out/Languages/Polski.sif" ] && [ ! -e "$out/Languages/Setup/Polski.sif" ] ||
    fail "a language of the earlier medium survived"
[ -f "$out/Languages/English.sif" ] || fail "the new medium lacks English.sif"
[ -z "$(ls -A "$scratch/media" | grep -v '^cd$' | grep -v '^cd.iso$')" ] ||
    fail "replacing left something beside the medium: $(ls -A "$scratch/media")"

# An incomplete language on request, and a width warning, each said once.
language de "Setup" | sed -e 's/^msgstr "Install to:"/msgstr ""/' \
    -e 's/^msgstr "Language Selection"/msgstr "Sprachauswahl für die Installation"/' \
    >"$scratch/Wide.po"
run --language "$scratch/Wide.po" --allow-incomplete "$out" ||
    fail "--allow-incomplete refused: $(cat "$scratch/out.log")"
for said in "TXT_INSTALL_TO (659) is not translated" "TXT_LANGUAGE_SELECTION (788) \"Sprach"; do
    [ "$(grep -c "$said" "$scratch/out.log")" = 1 ] || fail "not said once: $said
$(cat "$scratch/out.log")"
done

# 3. Refusals: a message naming the problem, and nothing made.
refuses() { # refuses WHAT PATTERN ARGS...: mkmedium fails with PATTERN in its output
    local what=$1 pattern=$2
    shift 2
    if run "$@"; then
        fail "$what: mkmedium succeeded"
    elif ! grep -q "$pattern" "$scratch/out.log"; then
        fail "$what: no '$pattern' in: $(cat "$scratch/out.log")"
    fi
}
fresh=$scratch/refused/cd
mkdir -p "$scratch/refused"

language en Setup | sed '/"TXT_EXIT"/,/^$/d' >"$scratch/Short.po"
refuses "a language lacking a text" "TXT_EXIT (664) is missing" --language "$scratch/Short.po" "$fresh"
refuses "an untranslated text" "error: TXT_INSTALL_TO (659) is not translated" \
    --language "$scratch/Wide.po" "$fresh"
for said in "Short.po: error: TXT_EXIT (664) is missing" "Wide.po: error: TXT_INSTALL_TO (659) is not" \
    "not compiled: $scratch/Short.po $scratch/Wide.po"; do
    refuses "two failing languages: $said" "$said" --language "$scratch/Short.po" \
        --language "$scratch/lang/English.po" --language "$scratch/Wide.po" "$fresh"
done
cp "$scratch/lang/English.po" "$scratch/lang/Polski.bak"
refuses "a file that is no language" "Polski.bak is not a language" --languages "$scratch/lang" "$fresh"
rm "$scratch/lang/Polski.bak"
refuses "two files of one language" "two files" --language "$scratch/lang/English.po" \
    --language "$scratch/lang/English.po" "$fresh"
cp "$scratch/lang/English.po" "$scratch/upper/Tiếng Việt.po"
refuses "a name outside ASCII" "Tiếng Việt.po: a language's file name may hold only ASCII" \
    --language "$scratch/upper/Tiếng Việt.po" "$fresh"
rm "$scratch/upper/Tiếng Việt.po"
cp "$scratch/lang/English.po" "$scratch/upper/english.po"
refuses "two names that differ in case" "two files for the language english: .*English.po and" \
    --language "$scratch/lang/English.po" --language "$scratch/upper/english.po" "$fresh"
refuses "a password without a certificate" "without --sign-pkcs12" --languages "$scratch/lang" \
    --sign-password-file "$scratch/lang/English.po" "$fresh"
# The setup program here is a text file, which osslsigncode cannot sign.
bash "$here/mktestcert.sh" "$scratch/signer"
refuses "a setup program that cannot be signed" "could not sign Setup.exe" --languages "$scratch/lang" \
    --sign-pkcs12 "$scratch/signer/test-signer.p12" \
    --sign-password-file "$scratch/signer/test-signer.pass" "$fresh"
[ -z "$(ls -A "$scratch/refused")" ] || fail "left behind by refusals: $(ls -A "$scratch/refused")"

mv "$scratch/product/Vellmor.exe" "$scratch/Vellmor.exe.away"
refuses "a product without the game" "no Vellmor.exe" --languages "$scratch/lang" "$fresh"
mv "$scratch/Vellmor.exe.away" "$scratch/product/Vellmor.exe"
[ ! -e "$fresh" ] || fail "a medium was made without the game"

mkdir -p "$scratch/documents"
echo keep >"$scratch/documents/letter.txt"
refuses "a folder that is not a medium" "not a medium" --languages "$scratch/lang" "$scratch/documents"
[ "$(cat "$scratch/documents/letter.txt" 2>/dev/null)" = keep ] || fail "a non-medium folder was touched"

# 4. The same inputs and SOURCE_DATE_EPOCH give the same image, made
# elsewhere and from inputs with other times, and every file in it carries
# that time.
export SOURCE_DATE_EPOCH=946684800 TZ=UTC # 2000-01-01 00:00:00 UTC
run --languages "$scratch/lang" --iso "$scratch/same/first.iso" "$scratch/same/first" ||
    fail "first image: $(cat "$scratch/out.log")"
touch "$scratch/product/Vellmor.exe" "$scratch/lang/English.po"
run --languages "$scratch/lang" --iso "$scratch/same/again/second.iso" "$scratch/same/again/cd" ||
    fail "second image: $(cat "$scratch/out.log")"
cmp -s "$scratch/same/first.iso" "$scratch/same/again/second.iso" ||
    fail "two images from the same inputs differ"
times=$(xorriso -indev "$scratch/same/first.iso" -find / -exec lsdl 2>/dev/null |
    awk '{ print $6, $7, $8 }' | sort -u)
[ "$times" = "Jan 1 2000" ] || fail "times in the image: $times"
times=$(find "$scratch/same/first" -printf '%TY-%Tm-%Td %TT\n' | sort -u)
[ "$times" = "2000-01-01 00:00:00.0000000000" ] || fail "times on the medium: $times"
SOURCE_DATE_EPOCH=yesterday refuses "a malformed SOURCE_DATE_EPOCH" "SOURCE_DATE_EPOCH" \
    --languages "$scratch/lang" "$fresh"
unset SOURCE_DATE_EPOCH TZ

[ $failures = 0 ] || exit 1
echo "mkmedium: all cases passed"
