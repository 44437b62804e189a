#!/usr/bin/env bash
# Checks a built Setup.exe: it imports only DLLs of a bare Windows
# installation and only the functions listed beside this script
# (check-setup-exe-imports.txt), asks for no subsystem newer than 4.0
# (Windows 95 and NT 4 refuse to load such a program) and for no
# administrator rights at start (asInvoker), fits its budget, and
# (with --map, the linker's map of it) links no MinGW printf and no libssp;
# its loader marks (ASLR, NX, no SEH handlers, terminal services) are set.
# Prints the figures.
#
# usage: check-setup-exe.sh [--map FILE] Setup.exe
set -eu
# The budget: 65,536 bytes (64 KiB), the team's hard limit (the file grows in
# 512-byte blocks; docs/performance.md has the steps). Setup.exe reaches
# 56,320 with the uninstaller's own folder, the elevated copy and every
# message from the language table; it made room for them with its own entry
# point and its zeros kept out of the file. Make room rather than raise it.
max=65536
map=
if [ "${1:-}" = "--map" ]; then
    map=$2
    shift 2
fi
exe=$1
functions=$(dirname "$0")/check-setup-exe-imports.txt
allowed="KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll SHELL32.dll OLE32.dll COMCTL32.dll msvcrt.dll"

status=0
imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
for dll in $imports; do
    if ! printf '%s\n' $allowed | grep -qix "$dll"; then
        echo "$exe imports $dll, which a bare Windows installation does not have"
        status=1
    fi
done
# "DLL function" per import, against the list's first two columns.
listed=$(sed 's/#.*//' "$functions" | awk 'NF >= 2 { print tolower($1), $2 }')
unlisted=$(i686-w64-mingw32-objdump -p "$exe" |
    awk '/DLL Name:/ { dll = tolower($3); next } /^[[:space:]]*$/ { dll = ""; next }
         dll && $1 != "vma:" { print dll, $NF }' |
    grep -vxF -f <(printf '%s\n' "$listed") || true)
if [ -n "$unlisted" ]; then
    echo "$(basename "$exe") imports functions that are not on $functions; add each with the"
    echo "oldest Windows that has it, or look it up at run time:"
    echo "$unlisted" | sed 's/^/    /'
    status=1
fi
subsystem=$(i686-w64-mingw32-objdump -p "$exe" | awk '/MajorSubsystemVersion/ { major = $2 }
    /MinorSubsystemVersion/ { minor = $2 } END { print major "." minor }')
if [ "$subsystem" != "4.0" ]; then
    echo "$(basename "$exe") asks for subsystem version $subsystem; Windows 95 and NT 4 need 4.0"
    status=1
fi
# Setup starts with the player's rights and asks for an administrator's
# only to install or remove (a copy of itself started with "runas").
level=$(grep -a -o 'requestedExecutionLevel level="[A-Za-z]*"' "$exe" || true)
if [ "$level" != 'requestedExecutionLevel level="asInvoker"' ]; then
    echo "$(basename "$exe")'s manifest asks for ${level:-no execution level}, not asInvoker"
    status=1
fi
# The loader's marks (DllCharacteristics): ASLR (0x40), NX (0x100), no SEH
# handlers (0x400) and aware of terminal services (0x8000). No SEH handler
# means no code that reaches the handler chain, whose head is at fs:0: the
# program touches the fs segment nowhere.
characteristics=$(i686-w64-mingw32-objdump -p "$exe" | awk '/^DllCharacteristics/ { print $2 }')
for mark in 0040:ASLR 0100:NX 0400:NO_SEH 8000:TERMINAL_SERVICE_AWARE; do
    if [ $((0x$characteristics & 0x${mark%%:*})) -eq 0 ]; then
        echo "$(basename "$exe") is not marked ${mark#*:} (DllCharacteristics $characteristics)"
        status=1
    fi
done
if i686-w64-mingw32-objdump -d "$exe" | grep -q '%fs:'; then
    echo "$(basename "$exe") is marked as having no SEH handlers, yet its code uses the fs segment"
    status=1
fi
size=$(stat -c %s "$exe")
echo "$(basename "$exe"): $size bytes; imports: $(echo $imports | tr '\n' ' ')"
if [ "$size" -gt "$max" ]; then
    echo "$(basename "$exe") is $size bytes, more than the $max allowed"
    status=1
fi
if [ -n "$map" ] && grep -q "libssp[^ ]*\.a(" "$map"; then
    echo "$(basename "$exe") links libssp: the stack protector's guard is platform/StackGuard.cpp's"
    status=1
fi
if [ -n "$map" ] && grep -q "mingw_pformat" "$map"; then
    echo "$(basename "$exe") links MinGW's printf: an snprintf or vsnprintf crept into product code"
    status=1
fi
exit $status
