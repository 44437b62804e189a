#!/usr/bin/env bash
# The demo medium as the build laid it out: exactly the expected files,
# every one read-only, the programs Windows executables, an autorun.inf
# naming a program and an icon that are on the disc, Setup.exe signed (the
# build's program, with a signature that osslsigncode verifies against the
# test certificate, and that it refuses once the file is changed), and the
# ISO image holding the same names under Joliet (case, space and accents
# kept) with the same contents.
#
# usage: check-medium.sh MEDIUM_DIR ISO_FILE CERTIFICATE_PEM SETUP_EXE
set -u
medium=$1 iso=$2 certificate=$3 built_setup=$4
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

expected="Glide/Glide2x.dll
Languages/Deutsch.poo
Languages/Deutsch.sif
Languages/English.poo
Languages/English.sif
Languages/Espanol.poo
Languages/Espanol.sif
Languages/Francais.poo
Languages/Francais.sif
Languages/Italiano.poo
Languages/Italiano.sif
Setup.exe
The Vellmor/Maps/Prologue.map
The Vellmor/Readme.txt
The Vellmor/Setup.exe
The Vellmor/SetupGlide.dll
The Vellmor/Vellmor.exe
autorun.inf"

actual=$(cd "$medium" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "medium folder layout:
$(diff <(echo "$expected") <(echo "$actual"))"

writable=$(cd "$medium" && find . -type f -perm /222)
[ -z "$writable" ] || fail "writable files on the medium: $writable"

for program in "Setup.exe" "The Vellmor/Setup.exe" "The Vellmor/Vellmor.exe" \
    "The Vellmor/SetupGlide.dll" "Glide/Glide2x.dll"; do
    [ "$(head -c2 "$medium/$program" 2>/dev/null)" = MZ ] || fail "$program is not a Windows program"
done
# The root's Setup.exe is setup itself, not the installation's stand-in.
cmp -s "$medium/Setup.exe" "$medium/The Vellmor/Setup.exe" &&
    fail "the root's Setup.exe is the product's stand-in"

# autorun.inf: the program it opens is on the disc, and the file its icon
# comes from holds a group icon at the index it names.
autorun=$(tr -d '\r' <"$medium/autorun.inf" 2>/dev/null)
[ "$(echo "$autorun" | head -n1)" = "[autorun]" ] || fail "autorun.inf lacks its [autorun] section"
[ "$(echo "$autorun" | sed -n 's/^label=//p')" = "The Vellmor" ] || fail "autorun.inf's label is not The Vellmor"
open=$(echo "$autorun" | sed -n 's/^open=//p')
[ -n "$open" ] && [ -f "$medium/$open" ] || fail "autorun.inf opens '$open', which is not on the disc"
icon=$(echo "$autorun" | sed -n 's/^icon=//p')
icon_file=${icon%,*} icon_index=${icon##*,}
if [ -z "$icon" ] || [ ! -f "$medium/$icon_file" ]; then
    fail "autorun.inf's icon '$icon' is not on the disc"
else
    # Type 14 entries of the resource directory's top level: the group icons.
    groups=$(i686-w64-mingw32-objdump -p "$medium/$icon_file" |
        awk '/^[0-9a-f]+   Entry: ID: 0x00000e,/ { top = 1; next }
             /^[0-9a-f]+   Entry:/ { top = 0 }
             top && /^[0-9a-f]+     Entry:/ { n++ }
             END { print n + 0 }')
    [ "$icon_index" -lt "$groups" ] 2>/dev/null ||
        fail "autorun.inf's icon $icon: $icon_file holds $groups group icons"
fi

# The image as Windows reads it: the Joliet names, not Rock Ridge.
listing=$(xorriso -read_fs norock -indev "$iso" -find / -type f 2>/dev/null |
    sed "s|^'/||; s|'$||" | LC_ALL=C sort)
[ "$listing" = "$expected" ] || fail "ISO (Joliet) names:
$(diff <(echo "$expected") <(echo "$listing"))"
volume=$(xorriso -indev "$iso" -pvd_info 2>/dev/null | sed -n 's/^Volume Id *: //p')
[ "$volume" = VELLMOR ] || fail "ISO volume id '$volume'"

scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT

# The signature: valid for the test certificate, over exactly the build's
# program, and refused once a byte of the program changes.
verify() { osslsigncode verify -CAfile "$certificate" -in "$1" >"$scratch/verify.log" 2>&1; }
verify "$medium/Setup.exe" || fail "the medium's Setup.exe: signature not accepted: $(cat "$scratch/verify.log")"
osslsigncode remove-signature -in "$medium/Setup.exe" -out "$scratch/unsigned.exe" >/dev/null 2>&1
cmp -s "$scratch/unsigned.exe" "$built_setup" || fail "the medium's Setup.exe is not $built_setup signed"
cp "$medium/Setup.exe" "$scratch/changed.exe"
chmod u+w "$scratch/changed.exe"
printf 'X' | dd of="$scratch/changed.exe" bs=1 seek=1024 conv=notrunc 2>/dev/null
verify "$scratch/changed.exe" && fail "osslsigncode accepts a signed Setup.exe changed afterwards"
grep -q MISMATCH "$scratch/verify.log" || fail "a changed Setup.exe was refused, but not for its digest: $(cat "$scratch/verify.log")"

for file in "Setup.exe" "autorun.inf" "Languages/Francais.sif" "The Vellmor/Vellmor.exe"; do
    xorriso -osirrox on -read_fs norock -indev "$iso" -extract "/$file" "$scratch/x" >/dev/null 2>&1
    cmp -s "$scratch/x" "$medium/$file" || fail "ISO's $file differs from the folder's"
    chmod u+w "$scratch/x" 2>/dev/null
    rm -f "$scratch/x"
done

[ $failures = 0 ] || exit 1
echo "medium and image hold the expected $(echo "$expected" | wc -l) files"
