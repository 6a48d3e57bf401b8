#!/usr/bin/env python3
"""Generates engine/syllable_table.cpp, the phonetic input's syllable dictionary.

Run by hand from the repository root after installing the reading list it converts:

    apt-get install rime-data-terra-pinyin
    python3 tools/gen_syllables.py > engine/syllable_table.cpp

Optional argument: the path of the compiled reading table (default below). Python 3 standard
library only.

The source lists Traditional (and Simplified) characters with their Hanyu Pinyin readings, tone
digits 1-5 (5 = neutral), and a usage weight per reading. Every single-character reading whose
character has a Big5 code in the glyph font's character rows is converted to Zhuyin (initial,
medial, final, tone) and filed under that syllable; a syllable's characters are ordered by
weight, most used first (ties by Big5 code), and at most SYLLABLE_MAX of them are kept.

Table layout (all offsets from the start of the table, little-endian u16):
  111 offsets: range k = initial x 5 + (tone - 1) for initials 0..21 and input tones 1..5, then
  the end offset; range k spans offset[k] up to offset[k + 1].
  From byte 222 on, the ranges in order; in a range, its syllables by key (medial x 16 + final,
  always below 64), each a key byte followed by its candidates, two Big5 bytes each (both 64 or
  above).
Input tones: 1 first, 2 neutral, 3 second, 4 third, 5 fourth (the order of the tone marks on the
input strip).
"""

import sys
from collections import defaultdict

SOURCE = "/usr/share/rime-data/build/terra_pinyin.table.txt"
SOURCE_PACKAGE = "rime-data-terra-pinyin"
SYLLABLE_MAX = 132  # candidates of one syllable the input can page through
RANGES = 22 * 5
HEADER = (RANGES + 1) * 2

# Pinyin initials in Zhuyin order: initial n (1..21) is symbol n - 1.
INITIALS = ["b", "p", "m", "f", "d", "t", "n", "l", "g", "k", "h",
            "j", "q", "x", "zh", "ch", "sh", "r", "z", "c", "s"]
INITIAL_INDEX = {s: i + 1 for i, s in enumerate(INITIALS)}
BY_LENGTH = sorted(INITIALS, key=len, reverse=True)
# Finals 1..13: a o e eh ai ei ao ou an en ang eng er.
FINALS = {"": 0, "a": 1, "o": 2, "e": 3, "eh": 4, "ai": 5, "ei": 6, "ao": 7, "ou": 8,
          "an": 9, "en": 10, "ang": 11, "eng": 12, "er": 13}
MEDIALS = {"i": 1, "u": 2, "v": 3}
# Pinyin tone digit -> input tone.
TONES = {"1": 1, "5": 2, "2": 3, "3": 4, "4": 5}

INITIAL_SYMBOLS = "ㄅㄆㄇㄈㄉㄊㄋㄌㄍㄎㄏㄐㄑㄒㄓㄔㄕㄖㄗㄘㄙ"
MEDIAL_SYMBOLS = "ㄧㄨㄩ"
FINAL_SYMBOLS = "ㄚㄛㄜㄝㄞㄟㄠㄡㄢㄣㄤㄥㄦ"
TONE_SYMBOLS = "ˉ˙ˊˇˋ"


def to_zhuyin(py):
    """(initial, medial, final) of a toneless pinyin syllable, or None."""
    initial, rest = 0, py
    for s in BY_LENGTH:
        if py.startswith(s) and len(py) > len(s):
            initial, rest = INITIAL_INDEX[s], py[len(s):]
            break
    if initial == 0:
        if rest.startswith("y"):
            r = rest[1:]
            if r.startswith("u"):
                rest = "v" + r[1:]
            elif r.startswith("i"):
                rest = r
            else:
                rest = "i" + r
        elif rest.startswith("w"):
            r = rest[1:]
            rest = r if r.startswith("u") else "u" + r
    if initial in (12, 13, 14) and rest.startswith("u"):  # j q x: u is ü
        rest = "v" + rest[1:]
    if 15 <= initial <= 21 and rest == "i":  # zhi chi shi ri zi ci si: the initial alone
        return initial, 0, 0
    rest = {"iu": "iou", "ui": "uei", "un": "uen", "ong": "ueng", "uong": "ueng",
            "iong": "veng"}.get(rest, rest)
    medial = 0
    if rest[:1] in MEDIALS and rest != "er":
        medial, rest = MEDIALS[rest[0]], rest[1:]
        rest = {"n": "en", "ng": "eng"}.get(rest, rest)
        if rest == "e" and medial in (1, 3):  # ie, üe: the final is ㄝ
            rest = "eh"
    if rest not in FINALS:
        return None
    final = FINALS[rest]
    if initial == 0 and medial == 0 and final == 0:
        return None
    return initial, medial, final


def big5_code(ch):
    """The character's two Big5 bytes when it lies in the font's character rows, else None."""
    try:
        b = ch.encode("big5")
    except UnicodeEncodeError:
        return None
    if len(b) != 2 or not (0xA4 <= b[0] <= 0xF8):
        return None
    if b[0] in (0xC7, 0xC8) or (b[0] == 0xC6 and b[1] >= 0xA1):
        return None  # rows of the code space that hold no characters
    if b[1] < 64:
        return None
    return b


def label(initial, medial, final, tone):
    s = INITIAL_SYMBOLS[initial - 1] if initial else ""
    s += MEDIAL_SYMBOLS[medial - 1] if medial else ""
    s += FINAL_SYMBOLS[final - 1] if final else ""
    return s + TONE_SYMBOLS[tone - 1]


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else SOURCE
    # (range, key) -> {big5 bytes: weight}
    syllables = defaultdict(dict)
    skipped = set()
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            parts = line.rstrip("\n").split("\t")
            if len(parts) < 2 or len(parts[0]) != 1 or " " in parts[1]:
                continue
            reading = parts[1]
            if not reading or reading[-1] not in TONES:
                skipped.add(reading)
                continue
            z = to_zhuyin(reading[:-1])
            if z is None:
                skipped.add(reading)
                continue
            code = big5_code(parts[0])
            if code is None:
                continue
            weight = float(parts[2]) if len(parts) > 2 and parts[2] else 0.0
            initial, medial, final = z
            tone = TONES[reading[-1]]
            entry = syllables[(initial * 5 + tone - 1, medial * 16 + final)]
            entry[code] = max(weight, entry.get(code, 0.0))

    body = bytearray()
    offsets = []
    lines = []
    total = 0
    longest = 0
    for k in range(RANGES):
        offsets.append(HEADER + len(body))
        initial, tone = divmod(k, 5)
        tone += 1
        keys = sorted(key for (r, key) in syllables if r == k)
        for key in keys:
            chars = syllables[(k, key)]
            ordered = sorted(chars, key=lambda c: (-chars[c], c))[:SYLLABLE_MAX]
            total += len(ordered)
            longest = max(longest, len(ordered))
            data = bytes([key]) + b"".join(ordered)
            body += data
            text = ", ".join("0x%02X" % b for b in data)
            lines.append("    /* %s */ %s," % (label(initial, key >> 4, key & 15, tone), text))
    offsets.append(HEADER + len(body))
    size = HEADER + len(body)
    if size > 0xFFFF:
        sys.exit("table of %d bytes does not fit u16 offsets" % size)
    assert all(b >= 64 for line_key in syllables for b in b"".join(syllables[line_key]))

    out = []
    out.append("// Generated by tools/gen_syllables.py from the reading table of the Debian package")
    out.append("// %s: do not edit by hand, run the tool (see its top)." % SOURCE_PACKAGE)
    out.append("// Our own content: the phonetic input's syllable dictionary, %d syllables with %d"
               % (len(lines), total))
    out.append("// candidate characters in all, at most %d for one syllable, most used first."
               % longest)
    out.append("// Unconverted readings: %s." % (" ".join(sorted(skipped)) or "none"))
    out.append('#include "engine/name_entry.h"')
    out.append("")
    out.append("// clang-format off")
    out.append("const u8 syllable_table[%d] = {" % size)
    out.append("    // offsets of the %d (initial, tone) ranges and the end" % RANGES)
    for i in range(0, len(offsets), 8):
        chunk = offsets[i:i + 8]
        out.append("    " + " ".join("0x%02X, 0x%02X," % (o & 255, o >> 8) for o in chunk))
    out.extend(lines)
    out.append("};")
    out.append("// clang-format on")
    out.append("const s32 syllable_table_size = sizeof(syllable_table);")
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
