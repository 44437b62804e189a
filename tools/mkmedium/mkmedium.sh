#!/usr/bin/env bash
# Lays out an installation medium (the folder that becomes the CD) and, on
# request, writes it as an ISO 9660 image with Joliet names:
#
#   OUTPUT/Setup.exe                  the setup program
#   OUTPUT/The Vellmor/...            the product folder, copied whole
#   OUTPUT/Languages/NAME.sif, .poo   one game's table per language file NAME.po
#   OUTPUT/Languages/Setup/NAME.sif, .poo
#                                     setup's own messages in that language
#   OUTPUT/Glide/Glide2x.dll          the renderer library
#   OUTPUT/autorun.inf                starts Setup.exe when the disc goes in
#
# Every file is made read-only (a-w), as on a pressed CD; Wine shows such a
# file with the read-only attribute. Folders stay writable so that anyone
# can remove a medium from a build folder.
#
# usage: mkmedium.sh --product DIR --setup FILE --glide FILE
#                    (--languages DIR | --language FILE)... [--allow-incomplete]
#                    [--game-tables DIR]
#                    [--langtool PATH] [--iso FILE] [--volume NAME]
#                    [--no-autorun] [--sign-pkcs12 FILE
#                    [--sign-password-file FILE]] [-v] OUTPUT
#
#   --product DIR    the game's folder; it must hold Vellmor.exe (setup looks
#                    for "The Vellmor\Vellmor.exe" to recognise its CD)
#   --languages DIR  every NAME.po (or NAME.PO) in DIR is a language; DIR
#                    holds nothing else but backups NAME.po~, which are
#                    passed over (repeatable)
#   --language FILE  one language's NAME.po (repeatable)
#   --game-tables DIR
#                    the game's existing tables: for each language NAME.po
#                    whose DIR/NAME.sif and .poo exist, the game's own texts
#                    in them (every record setup does not read) are kept in
#                    the medium's table (langtool build --game)
#   --allow-incomplete
#                    accept untranslated and fuzzy texts (the English stands
#                    in for them); without it they refuse the medium
#   --langtool PATH  the langtool that compiles the languages (default: langtool
#                    on PATH, else build-native/ or build/host-tools/ of the
#                    source tree)
#   --iso FILE       also write FILE, an ISO 9660 image with Joliet names
#   --volume NAME    the image's volume name (default VELLMOR)
#   --no-autorun     leave autorun.inf out (nothing starts on insertion)
#   --sign-pkcs12 FILE
#                    sign the medium's Setup.exe (Authenticode, SHA-256)
#                    with the certificate and key in FILE, using osslsigncode
#   --sign-password-file FILE
#                    FILE's first line is the PKCS#12 file's password
#   -v               show langtool's summaries
#
# Every file and folder of the medium carries the time SOURCE_DATE_EPOCH
# (seconds since 1970) when it is set, else the current time; so does the
# image, which then depends only on the inputs' contents: the same inputs
# and SOURCE_DATE_EPOCH give the same bytes (unless Setup.exe is signed,
# since a signature holds the time of signing).
#
# The languages are compiled with `langtool build --release`, which writes
# the game's table and setup's pair beside it (docs/languages.md), each in the
# code page its PO header's Language names: an error, or an untranslated or
# fuzzy text unless --allow-incomplete, stops the medium once every language
# has been compiled and its errors shown; warnings (a text wider than its
# control) are shown. Two languages whose names differ only in case are
# refused: Windows and the disc's Joliet names do not tell them apart. Nothing is left behind on failure. An existing OUTPUT is replaced only when it is an
# earlier medium (it holds Setup.exe and Languages/) or empty.
set -eu

me=$(basename "$0")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
product_name="The Vellmor"
program_name="The Vellmor Setup"

die() {
    echo "$me: $*" >&2
    exit 1
}
usage() { # usage [STATUS]: the usage to stderr, or to stdout with status 0
    local status=${1:-2}
    sed -n '/^# usage:/,/^#   -v/p' "$0" | sed 's/^# \{0,1\}//' >&$((status == 0 ? 1 : 2))
    exit "$status"
}

product= setup= glide= langtool= iso= output= verbose=0 autorun=1 release=--release
volume=VELLMOR pkcs12= password_file= game_tables=
sources=()
while [ $# -gt 0 ]; do
    case $1 in
        --product) product=${2:?}; shift 2 ;;
        --setup) setup=${2:?}; shift 2 ;;
        --glide) glide=${2:?}; shift 2 ;;
        --langtool) langtool=${2:?}; shift 2 ;;
        --iso) iso=${2:?}; shift 2 ;;
        --volume) volume=${2:?}; shift 2 ;;
        --language) sources+=("${2:?}"); shift 2 ;;
        --languages)
            [ -d "${2:?}" ] || die "no folder $2"
            found=0
            for f in "$2"/*; do
                [ -e "$f" ] || continue
                case $f in
                    *~)
                        echo "$me: $f passed over (a backup, as msgmerge --update leaves)" >&2
                        continue
                        ;;
                esac
                sources+=("$f")
                found=1
            done
            [ $found = 1 ] || die "no languages (*.po) in $2"
            shift 2
            ;;
        --allow-incomplete) release=; shift ;;
        --game-tables) game_tables=${2:?}; shift 2 ;;
        --no-autorun) autorun=0; shift ;;
        --sign-pkcs12) pkcs12=${2:?}; shift 2 ;;
        --sign-password-file) password_file=${2:?}; shift 2 ;;
        -v) verbose=1; shift ;;
        -h | --help) usage 0 ;;
        -*) echo "$me: unknown option $1" >&2; usage ;;
        *)
            [ -z "$output" ] || usage
            output=$1
            shift
            ;;
    esac
done
[ -n "$output" ] && [ -n "$product" ] && [ -n "$setup" ] && [ -n "$glide" ] || usage
[ ${#sources[@]} -gt 0 ] || die "no language given (--languages or --language)"

[ -d "$product" ] || die "no product folder $product"
[ -f "$product/Vellmor.exe" ] || die "$product holds no Vellmor.exe: setup would not recognise the medium"
[ -f "$setup" ] || die "no setup program $setup"
[ -f "$glide" ] || die "no renderer library $glide"
[ -z "$game_tables" ] || [ -d "$game_tables" ] || die "no folder of game tables $game_tables"
epoch=${SOURCE_DATE_EPOCH:-$(date +%s)}
case $epoch in *[!0-9]* | '') die "SOURCE_DATE_EPOCH wants seconds since 1970, not $epoch" ;; esac

if [ -z "$langtool" ]; then
    for candidate in "$(command -v langtool || true)" "$root/build-native/tools/langtool/langtool" \
        "$root/build/host-tools/tools/langtool/langtool"; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then
            langtool=$candidate
            break
        fi
    done
    [ -n "$langtool" ] || die "no langtool found: build it (scripts/test-native.sh) or give --langtool"
fi
[ -x "$langtool" ] || die "langtool $langtool is not executable"
if [ -n "$pkcs12" ]; then
    [ -f "$pkcs12" ] || die "no PKCS#12 file $pkcs12"
    [ -z "$password_file" ] || [ -f "$password_file" ] || die "no password file $password_file"
    command -v osslsigncode >/dev/null || die "--sign-pkcs12 needs osslsigncode (apt-get install osslsigncode)"
elif [ -n "$password_file" ]; then
    die "--sign-password-file without --sign-pkcs12"
fi
if [ -n "$iso" ]; then
    command -v xorriso >/dev/null || die "--iso needs xorriso (apt-get install xorriso)"
fi

# An earlier medium is replaced; anything else is left alone.
if [ -e "$output" ]; then
    [ -d "$output" ] || die "$output exists and is not a folder"
    if [ -n "$(ls -A "$output")" ] && ! { [ -f "$output/Setup.exe" ] && [ -d "$output/Languages" ]; }; then
        die "$output is not empty and not a medium: not replacing it"
    fi
fi

# Built beside the output and moved into place at the end, so that a failure
# leaves no half-made medium.
output=${output%/}
mkdir -p "$(dirname "$output")"
work=$(mktemp -d "$(dirname "$output")/.mkmedium.XXXXXX")
iso_work=
cleanup() {
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
    [ -z "$iso_work" ] || rm -f "$iso_work" "$iso_work.log"
}
trap cleanup EXIT

# Authenticode with SHA-256; the description is the program name Windows
# shows when it asks for elevation. No timestamp: there is no network here,
# and a publisher adds one with osslsigncode's -ts URL.
sign() { # sign FILE: replaces FILE with its signed copy
    local password=(-pass "")
    [ -z "$password_file" ] || password=(-readpass "$password_file")
    if ! osslsigncode sign -pkcs12 "$pkcs12" "${password[@]}" -h sha256 -n "$program_name" \
        -in "$1" -out "$1.signed" >"$work/sign.log" 2>&1 </dev/null; then
        cat "$work/sign.log" >&2
        die "could not sign $(basename "$1") with $pkcs12"
    fi
    mv -f "$1.signed" "$1"
    rm -f "$work/sign.log"
    echo "$me: $(basename "$1") signed with $pkcs12"
}

mkdir "$work/$product_name" "$work/Languages" "$work/Glide"
cp -R "$product/." "$work/$product_name/"
cp "$setup" "$work/Setup.exe"
cp "$glide" "$work/Glide/Glide2x.dll"
[ -z "$pkcs12" ] || sign "$work/Setup.exe"

# Every language is a NAME.po (any case of .po), each name once in any case
# of its letters: checked before any is built.
language_name() { # language_name FILE: its name without .po
    local name
    name=$(basename "$1")
    printf '%s' "${name%.[Pp][Oo]}"
}
declare -A seen=()
for source in "${sources[@]}"; do
    case $source in
        *.[Pp][Oo]) [ -f "$source" ] || die "no language file $source" ;;
        *) die "$source is not a language: only NAME.po files are" ;;
    esac
    name=$(language_name "$source")
    # Setup lists the names in the player's system code page, whatever the
    # language: only ASCII reads alike in every one.
    LC_ALL=C grep -qx '[A-Za-z0-9 _-]\{1,\}' <<<"$name" ||
        die "$source: a language's file name may hold only ASCII letters, digits, spaces, '-' and '_', since setup lists the names in the player's system code page, whatever the language"
    key=${name,,}
    [ -z "${seen[$key]:-}" ] || die "two files for the language $name: ${seen[$key]} and $source"
    seen[$key]=$source
done
failed=()
incomplete=0
for source in "${sources[@]}"; do
    name=$(language_name "$source")
    game=()
    [ -z "$game_tables" ] || [ ! -f "$game_tables/$name.sif" ] || game=(--game "$game_tables/$name")
    # Warnings and errors on stderr, the summary on stdout.
    if ! "$langtool" build $release "$source" -o "$work/Languages/$name" "${game[@]}" \
        >"$work/summary.log" 2>"$work/langtool.log"; then
        sed "s|$work/||" "$work/langtool.log" >&2
        ! grep -q -e 'error: .* is not translated' -e 'error: .* is fuzzy' "$work/langtool.log" ||
            incomplete=1
        failed+=("$source")
        continue
    fi
    sed "s|$work/||" "$work/langtool.log" >&2
    [ $verbose = 0 ] || sed "s|$work/||" "$work/summary.log"
    page=$(sed -n 's/.*, \(code page [0-9]* (from [^)]*)\),.*/\1/p' "$work/summary.log")
    rm -f "$work/summary.log" "$work/langtool.log"
    echo "$me: Languages/$name.sif, .poo and Languages/Setup/$name.sif, .poo ($page)"
done
if [ ${#failed[@]} -gt 0 ]; then
    [ $incomplete = 0 ] || echo "$me: --allow-incomplete lets untranslated and fuzzy texts through" >&2
    die "not compiled: ${failed[*]}"
fi

# Windows reads autorun.inf when the disc goes in: it starts setup, shows
# setup's icon for the drive and the product's name as its label.
if [ $autorun = 1 ]; then
    printf '[autorun]\r\nopen=Setup.exe\r\nicon=Setup.exe,0\r\nlabel=%s\r\n' "$product_name" \
        >"$work/autorun.inf"
fi

find "$work" -type f -exec chmod a-w {} +
find "$work" -type d -exec chmod 755 {} +
find "$work" -exec touch -h -d "@$epoch" {} +

if [ -n "$iso" ]; then
    mkdir -p "$(dirname "$iso")"
    iso_work=$iso.partial
    # Joliet keeps case, spaces and accents for Windows (-joliet-long: names
    # up to 103 characters); Rock Ridge does the same for Linux. Given
    # SOURCE_DATE_EPOCH, xorriso takes the volume's times and identifier from
    # it and the files' times from their modification times.
    # Its messages (a note that it saw SOURCE_DATE_EPOCH) only matter when it fails.
    if ! SOURCE_DATE_EPOCH=$epoch xorriso -as mkisofs -quiet -J -joliet-long -r -V "$volume" \
        -o "$iso_work" "$work" 2>"$iso_work.log"; then
        cat "$iso_work.log" >&2
        die "xorriso could not write $iso"
    fi
    rm -f "$iso_work.log"
    mv -f "$iso_work" "$iso"
    echo "$me: $iso (volume $volume)"
fi

# The earlier medium is moved aside before the new one takes its place, so
# that an interrupted run leaves a whole medium or none, never half of one.
previous=
if [ -e "$output" ]; then
    previous=$(mktemp -d "$(dirname "$output")/.mkmedium-previous.XXXXXX")
    mv "$output" "$previous/medium"
fi
mv "$work" "$output"
iso_work=
trap - EXIT
if [ -n "$previous" ]; then
    chmod -R u+w "$previous"
    rm -rf "$previous"
fi
echo "$me: $output"
