#!/usr/bin/env bash
# Whether the fonts Wine can use draw every character of a translation: the
# fonts fontconfig finds (Wine takes the system's fonts through it) and
# Wine's own (/usr/share/wine/fonts, WINE_FONTS=DIR elsewhere). Without a
# glyph Wine draws a box, and a picture full of boxes is no preview.
#
# usage: scripts/check-glyphs.sh LANG.po
#
# Exit status 0 when every character of the file's translations has a
# glyph, 1 with one line naming those that have none and what to do, 2 on
# bad arguments. FONTCONFIG_FILE chooses the fontconfig configuration, as
# it does for Wine (a configuration without font folders: no system fonts).
set -eu
me=check-glyphs
[ $# = 1 ] && [ -f "$1" ] || { echo "usage: scripts/check-glyphs.sh LANG.po" >&2; exit 2; }
wine_fonts=${WINE_FONTS:-/usr/share/wine/fonts}
charsets=$({
    fc-list --format '%{charset}\n' 2>/dev/null || true
    for font in "$wine_fonts"/*; do
        [ -f "$font" ] && fc-query --format '%{charset}\n' "$font" 2>/dev/null || true
    done
})
CHARSETS=$charsets python3 - "$1" "$me" <<'PY'
import os, re, sys, unicodedata

path, me = sys.argv[1], sys.argv[2]
ranges = []
for token in os.environ["CHARSETS"].split():
    first, _, last = token.partition("-")
    ranges.append((int(first, 16), int(last or first, 16)))

def drawn(c):
    return any(first <= c <= last for first, last in ranges)

# The translations: each msgstr and the strings that continue it.
text, inside = [], False
for line in open(path, encoding="utf-8", errors="replace"):
    line = line.strip()
    if line.startswith("msgstr "):
        inside, line = True, line[7:]
    elif not line.startswith('"'):
        inside = False
    if inside and line.startswith('"'):
        text.append(re.sub(r'\\.', ' ', line[1:-1]))
missing = sorted({c for c in "".join(text)
                  if unicodedata.category(c)[0] not in "CZ" and not drawn(ord(c))})
if missing:
    shown = ", ".join("U+%04X %s" % (ord(c), c) for c in missing[:8])
    more = " and %d more" % (len(missing) - 8) if len(missing) > 8 else ""
    print("%s: %s: %d characters have no glyph in the fonts Wine can use (%s%s), so Wine draws "
          "boxes: install fonts for the script (scripts/install-packages.sh installs "
          "fonts-wqy-microhei for Chinese, Japanese and Korean)" %
          (me, path, len(missing), shown, more), file=sys.stderr)
    sys.exit(1)
PY
