#!/usr/bin/env python3
"""Writes the application manifest that Setup.exe embeds: res/Setup.manifest
without its comments and indentation.

The system reads only the elements and attributes; the comments say why each
is there and stay in the source. The written file holds the same XML as the
source (checked here in canonical form), so a change to the source that this
would alter in meaning stops the build.

usage: mkmanifest.py SOURCE OUTPUT
"""
import re
import sys
import xml.etree.ElementTree as ElementTree


def minify(text):
    text = re.sub(r"<!--.*?-->", "", text, flags=re.DOTALL)
    text = re.sub(r">\s+<", "><", text)
    # Inside a tag a line break and indentation become one space; the
    # manifest's texts are single words or a single-spaced line.
    text = re.sub(r"\s+", " ", text)
    return text.strip()


def canonical(text):
    return ElementTree.canonicalize(text, strip_text=True)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.split("\n\n")[-1].strip())
    with open(sys.argv[1], encoding="utf-8") as source:
        text = source.read()
    small = minify(text)
    if canonical(small) != canonical(text):
        sys.exit("mkmanifest: the minified manifest would differ from " + sys.argv[1])
    with open(sys.argv[2], "w", encoding="utf-8", newline="\n") as output:
        output.write(small)


if __name__ == "__main__":
    main()
