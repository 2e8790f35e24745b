#!/usr/bin/python3
"""Builds HelveticaCiril.ttf, the register's Cyrillic screen font, from DejaVu Sans.

Run once with Debian's python3 and python3-fonttools; the result is committed beside this
script, so building the program never needs fonttools:

    /usr/bin/python3 fontinstall/fonts/make-font.py [DejaVuSans.ttf] [output.ttf]

What the font shows:
  * the register's 7-bit code: every ASCII letter is drawn as the Cyrillic letter it stands
    for (A -> А, C -> Ц, Q -> Љ, W -> Њ, X and Y -> Џ ...), and @ [ \\ ] ^ ` { | } ~ as
    Ж Ш Ђ Ћ Ч ж ш ђ ћ ч; digits and the other punctuation keep their shapes;
  * 8-bit Cyrillic (ISO 8859-5 bytes 0xA0-0xFF): the program turns a byte into a character
    through the Windows-1250 code page, so the character Windows-1250 gives for byte b is
    drawn as the ISO 8859-5 letter b (0xB0 -> "°" is drawn as А, 0xD0 -> "Đ" as а ...);
  * the real Unicode Cyrillic letters of ISO 8859-5 and № are drawn as themselves.
Only the glyphs needed for that are kept (no hinting, no layout tables but kerning).
"""
import sys

from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import cmap_format_4
from fontTools import subset

FAMILY = "Helvetica Ciril"
POSTSCRIPT = "HelveticaCiril"

# register 7-bit code -> Cyrillic letter (the To8859 table)
SEVEN_BIT = {
    "A": "А", "B": "Б", "C": "Ц", "D": "Д", "E": "Е", "F": "Ф", "G": "Г", "H": "Х",
    "I": "И", "J": "Ј", "K": "К", "L": "Л", "M": "М", "N": "Н", "O": "О", "P": "П",
    "Q": "Љ", "R": "Р", "S": "С", "T": "Т", "U": "У", "V": "В", "W": "Њ", "X": "Џ",
    "Y": "Џ", "Z": "З", "@": "Ж", "^": "Ч", "[": "Ш", "]": "Ћ", "\\": "Ђ",
}
for upper, letter in list(SEVEN_BIT.items()):
    if upper.isalpha():
        SEVEN_BIT[upper.lower()] = letter.lower()
SEVEN_BIT.update({"`": "ж", "~": "ч", "{": "ш", "}": "ћ", "|": "ђ"})


def wanted_mapping():
    """Code point shown -> character whose DejaVu glyph draws it."""
    mapping = {}
    for code in range(0x20, 0x7F):
        ch = chr(code)
        mapping[code] = SEVEN_BIT.get(ch, ch)
    for byte in range(0xA0, 0x100):
        shown = bytes([byte]).decode("cp1250")
        mapping[ord(shown)] = bytes([byte]).decode("iso8859-5")
    for byte in range(0xA0, 0x100):
        letter = bytes([byte]).decode("iso8859-5")
        if ord(letter) >= 0x400:
            mapping[ord(letter)] = letter
    return mapping


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
    target = sys.argv[2] if len(sys.argv) > 2 else __file__.rsplit("/", 1)[0] + "/HelveticaCiril.ttf"
    mapping = wanted_mapping()

    font = TTFont(source)
    options = subset.Options()
    options.hinting = False
    options.layout_features = ["kern"]
    options.layout_scripts = ["DFLT", "latn", "cyrl"]
    options.name_IDs = [0, 5, 7, 13, 14]
    options.name_languages = [0x409]
    options.notdef_outline = True
    options.glyph_names = True
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes={ord(c) for c in mapping.values()})
    subsetter.subset(font)

    glyph_of = font.getBestCmap()
    new_map = {}
    for code, ch in sorted(mapping.items()):
        if ord(ch) not in glyph_of:
            raise SystemExit("no glyph for U+%04X in %s" % (ord(ch), source))
        new_map[code] = glyph_of[ord(ch)]

    tables = []
    for platform, encoding in ((0, 3), (3, 1)):
        table = cmap_format_4(4)
        table.platformID, table.platEncID, table.language = platform, encoding, 0
        table.cmap = dict(new_map)
        tables.append(table)
    font["cmap"].tables = tables

    names = font["name"]
    version = names.getDebugName(5) or "Version 1.0"
    for name_id, text in ((1, FAMILY), (2, "Regular"), (3, FAMILY + " Regular; " + version),
                          (4, FAMILY), (6, POSTSCRIPT),
                          (10, "Cyrillic screen font of the cash register: the register's 7-bit "
                               "code and 8-bit Cyrillic shown as Cyrillic letters. "
                               "Derived from DejaVu Sans (Bitstream Vera licence).")):
        names.setName(text, name_id, 3, 1, 0x409)
    names.names = [n for n in names.names if n.platformID == 3]

    os2 = font["OS/2"]
    os2.usFirstCharIndex = min(new_map)
    os2.usLastCharIndex = min(max(new_map), 0xFFFF)
    os2.recalcUnicodeRanges(font)
    # Windows-1250 (bit 1) and Windows-1251 Cyrillic (bit 2)
    os2.ulCodePageRange1 = (1 << 1) | (1 << 2)
    os2.ulCodePageRange2 = 0
    font["post"].formatType = 2.0

    font.save(target)
    print("%s: %d code points, %d glyphs" % (target, len(new_map), len(font.getGlyphOrder())))


if __name__ == "__main__":
    main()
