#!/usr/bin/env python3
"""Writes the setup dialog's size and its controls' sizes, in dialog units,
as C++ data for langtool, from the dialog's template in the resource script.

usage: dialogsizes.py SETUP_RC DIALOG_ID OUTPUT
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


def main():
    source, dialog_id, output = sys.argv[1:4]
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
        lines.append(f'    {{"{ident}", "{cls.upper()}", {width}, {height}}},')
    lines += ["};", f"const size_t kSetupDialogControlCount = {len(controls)};", ""]
    with open(output, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
