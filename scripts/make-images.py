#!/usr/bin/env python3
"""Draws Tolva's icon and hand cursor and writes them as Windows image files.

    scripts/make-images.py [resources-folder]

resources/tolva.ico: one 32 x 32 image in the 16 standard colours, a hopper
(Spanish "tolva") with grains heaped in its mouth and trickling from its spout.
resources/hand.cur: a 32 x 32 black-and-white pointing hand whose hot spot
(7, 8) is the tip of the index finger.

Both files are committed; run this only to change the pictures. Standard
library only: the formats are written byte by byte.
"""
import os
import struct
import sys

# The 16 standard colours, by the letters the pictures below use.
PALETTE = [
    ("k", (0x00, 0x00, 0x00)), ("m", (0x80, 0x00, 0x00)), ("d", (0x00, 0x80, 0x00)),
    ("o", (0x80, 0x80, 0x00)), ("n", (0x00, 0x00, 0x80)), ("p", (0x80, 0x00, 0x80)),
    ("t", (0x00, 0x80, 0x80)), ("s", (0xC0, 0xC0, 0xC0)), ("g", (0x80, 0x80, 0x80)),
    ("r", (0xFF, 0x00, 0x00)), ("l", (0x00, 0xFF, 0x00)), ("y", (0xFF, 0xFF, 0x00)),
    ("b", (0x00, 0x00, 0xFF)), ("f", (0xFF, 0x00, 0xFF)), ("a", (0x00, 0xFF, 0xFF)),
    ("w", (0xFF, 0xFF, 0xFF)),
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}

SIZE = 32


def hopper():
    """The icon as 32 rows of 32 letters; '.' is transparent."""
    grid = [["."] * SIZE for _ in range(SIZE)]

    def put(x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            grid[y][x] = c

    # Grains heaped above the mouth: a mound, lit from the upper left.
    mound = [
        "............yy.............",
        "........yyyyyoyyy..........",
        ".....yyyyyyoyyyyyyoy.......",
        "...yyyyyoyyyyyyoyyyyyyo....",
        ".yyyyyyyyyyyyoyyyyyoyyyyyo.",
    ]
    for dy, row in enumerate(mound):
        for dx, c in enumerate(row):
            if c != ".":
                put(3 + dx, 3 + dy, c)

    # The mouth: a rim across the top, then the body narrowing to the spout.
    top, neck = 8, 19
    for x in range(2, 30):
        put(x, top, "k")
    for y in range(top + 1, neck + 1):
        left = 2 + (y - top)
        right = 29 - (y - top)
        put(left, y, "k")
        put(right, y, "k")
        for x in range(left + 1, right):
            width = right - left - 1
            pos = x - left - 1
            if y == top + 1:
                c = "w"                      # the lit lip of the rim
            elif y == top + 2:
                c = "g"                      # the rim's lower band
            elif pos < max(2, width // 5):
                c = "w"                      # highlight on the left wall
            elif pos >= width - max(2, width // 4):
                c = "g"                      # shade on the right wall
            else:
                c = "s"
            put(x, y, c)
    # A row of rivets along the rim's band.
    for x in range(6, 27, 4):
        put(x, top + 2, "k")
    # The spout.
    for y in range(neck + 1, 25):
        put(13, y, "k")
        put(18, y, "k")
        put(14, y, "w")
        put(15, y, "s")
        put(16, y, "s")
        put(17, y, "g")
    for x in range(13, 19):
        put(x, 25, "k")
    # Grains trickling out.
    for x, y in [(15, 26), (16, 26), (15, 27), (16, 28), (15, 30), (16, 30), (15, 31)]:
        put(x, y, "y" if (x + y) % 3 else "o")
    return ["".join(row) for row in grid]


# The hand: B black outline, W white inside, '.' transparent. The tip of the
# index finger is at column 7, row 8.
HAND = [
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "......BB........................",
    ".....BWWB.......................",
    ".....BWWB.......................",
    ".....BWWB.......................",
    ".....BWWB.......................",
    ".....BWWBBB.....................",
    ".....BWWBWWBBB..................",
    ".....BWWBWWBWWBB................",
    ".....BWWBWWBWWBWB...............",
    "..BB.BWWBWWBWWBWWB..............",
    ".BWWBBWWWWWWWWBWWB..............",
    ".BWWWBWWWWWWWWWWWB..............",
    "..BWWWWWWWWWWWWWWB..............",
    "..BWWWWWWWWWWWWWWB..............",
    "...BWWWWWWWWWWWWWB..............",
    "...BWWWWWWWWWWWWB...............",
    "....BWWWWWWWWWWWB...............",
    "....BWWWWWWWWWWB................",
    ".....BWWWWWWWWWB................",
    ".....BWWWWWWWWWB................",
    ".....BBBBBBBBBBB................",
    "................................",
    "................................",
    "................................",
]
HOT_SPOT = (7, 8)


def pack_rows(rows, bits, pixel):
    """Bottom-up rows of the given depth, each padded to 4 bytes."""
    out = bytearray()
    for row in reversed(rows):
        value = 0
        count = 0
        line = bytearray()
        for c in row:
            value = (value << bits) | pixel(c)
            count += bits
            if count == 8:
                line.append(value)
                value = count = 0
        while len(line) % 4:
            line.append(0)
        out += line
    return bytes(out)


def image(rows, bits, palette, pixel):
    """A BITMAPINFOHEADER, palette, colour bits and the AND mask."""
    colours = pack_rows(rows, bits, pixel)
    mask = pack_rows(rows, 1, lambda c: 1 if c == "." else 0)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, bits, 0,
                         len(colours) + len(mask), 0, 0, len(palette), 0)
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + quads + colours + mask


def write(path, kind, data, colour_count, field4, field6):
    # The directory: type 1 (icon) or 2 (cursor), one entry. For a cursor the
    # two words that hold planes and bit count in an icon hold the hot spot.
    directory = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, colour_count, 0, field4, field6, len(data), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + data)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources")
    icon = hopper()
    assert len(icon) == SIZE and all(len(r) == SIZE for r in icon)
    write(os.path.join(folder, "tolva.ico"), 1,
          image(icon, 4, [rgb for _, rgb in PALETTE], lambda c: 0 if c == "." else INDEX[c]), 16, 1, 4)

    assert len(HAND) == SIZE and all(len(r) == SIZE for r in HAND)
    assert HAND[HOT_SPOT[1]][HOT_SPOT[0]] == "B", "the hot spot must lie on the fingertip"
    # Colour bit 1 is white; with the mask bit set, 0 leaves the screen as it is.
    write(os.path.join(folder, "hand.cur"), 2,
          image(HAND, 1, [(0, 0, 0), (0xFF, 0xFF, 0xFF)], lambda c: 1 if c == "W" else 0), 0, *HOT_SPOT)


if __name__ == "__main__":
    main()
