#!/usr/bin/env python3
"""Writes the setup dialog's size and its controls' ids and sizes, in dialog
units, as C++ data for langtool, from the dialog's template in the resource
script and the identifiers' values in its header.

usage: dialogsizes.py SETUP_RC RESOURCE_H DIALOG_ID OUTPUT
"""
import re
import sys

NUMBER = r"\s*(-?\d+)\s*"
HEADER = re.compile(r"^(\w+)\s+DIALOG(?:EX)?\s" + ",".join([NUMBER] * 4), re.M)
# CONTROL "text", ID, "CLASS", style, x, y, width, height (style may span lines)
CONTROL = re.compile(
    r'CONTROL\s+(?:"(?:[^"]|"")*"|\w+)\s*,\s*(\w+)\s*,\s*"(\w+)"\s*,[^;]*?,'
    + ",".join([NUMBER] * 4)
    + r"(?=\s*(?:\n|//|$))",
    re.S,
)


def dialog_block(script, dialog_id):
    """The dialog's header match and the text between its BEGIN and END."""
    for header in HEADER.finditer(script):
        if header.group(1) == dialog_id:
            begin = script.index("\nBEGIN", header.end())
            end = script.index("\nEND", begin)
            return header, script[begin:end]
    sys.exit(f"dialogsizes.py: no dialog {dialog_id} in the resource script")


def identifiers(header):
    """The values of the header's #define NAME NUMBER, with the system's."""
    with open(header, encoding="utf-8") as f:
        found = re.findall(r"^#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|\d+)\s*$", f.read(), re.M)
    values = {name: int(value, 0) for name, value in found}
    values.update(IDOK=1, IDCANCEL=2)
    return values


def main():
    source, header_file, dialog_id, output = sys.argv[1:5]
    values = identifiers(header_file)
    with open(source, encoding="utf-8") as f:
        script = re.sub(r"//[^\n]*", "", f.read())
    header, block = dialog_block(script, dialog_id)
    controls = [m.groups() for m in CONTROL.finditer(block)]
    if not controls:
        sys.exit(f"dialogsizes.py: no controls found in {dialog_id}")
    lines = [
        f"// The dialog {dialog_id} of {source.split('/')[-1]}, in dialog units;",
        "// written by dialogsizes.py when the resource script changes.",
        '#include "DialogSizes.h"',
        f"const DialogSize kSetupDialogSize = {{{header.group(4)}, {header.group(5)}}};",
        "const DialogControl kSetupDialogControls[] = {",
    ]
    for ident, cls, _x, _y, width, height in controls:
        if ident not in values:
            sys.exit(f"dialogsizes.py: {ident} has no value in {header_file}")
        lines.append(f'    {{"{ident}", {values[ident]}, "{cls.upper()}", {width}, {height}}},')
    lines += ["};", f"const size_t kSetupDialogControlCount = {len(controls)};", ""]
    with open(output, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
