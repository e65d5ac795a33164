#!/usr/bin/env python3
"""Draws the program's icon, a comma that turns into a tab arrow, and writes
app.ico: two 16-colour images, 32 x 32 and 16 x 16. Run once; the .ico is kept."""
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [(0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
           (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
           (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
           (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF)]
# Palette indices of the colours the pictures use; None is see-through.
CLEAR, BLACK, NAVY, TEAL, GREY, WHITE = None, 0, 4, 6, 8, 15

ICON_32 = """
................................
................................
..WWWWWWWWWWWWWWWWWWWWWWWWWWWW..
..WBBBBBBBBBBBBBBBBBBBBBBBBBBW..
..WB........................BW..
..WB........................BW..
..WB..NNNN..................BW..
..WB.NNNNNN.................BW..
..WB.NNNNNN.................BW..
..WB.NNNNNN.................BW..
..WB..NNNNN.................BW..
..WB....NNN.................BW..
..WB....NN..................BW..
..WB...NN...................BW..
..WB..NN..........TT....TT..BW..
..WB..............TTT...TT..BW..
..WB..TTTTTTTTTTTTTTTT..TT..BW..
..WB..TTTTTTTTTTTTTTTTT.TT..BW..
..WB..TTTTTTTTTTTTTTTT..TT..BW..
..WB..............TTT...TT..BW..
..WB..............TT....TT..BW..
..WB........................BW..
..WB..YYYYYYYY..YYYYYYYYYY..BW..
..WB........................BW..
..WB..YYYYY..YYYYYYYY..YYY..BW..
..WB........................BW..
..WB........................BW..
..WBBBBBBBBBBBBBBBBBBBBBBBBBBW..
..WWWWWWWWWWWWWWWWWWWWWWWWWWWW..
................................
................................
................................
"""

ICON_16 = """
................
.WWWWWWWWWWWWWW.
.WBBBBBBBBBBBBW.
.WB..........BW.
.WB.NNN......BW.
.WB.NNN......BW.
.WB..NN......BW.
.WB..N...T.T.BW.
.WB.TTTTTTTT.BW.
.WB......T.T.BW.
.WB..........BW.
.WB.YYY.YYYY.BW.
.WB..........BW.
.WBBBBBBBBBBBBW.
.WWWWWWWWWWWWWW.
................
"""

COLOURS = {".": CLEAR, "W": WHITE, "B": BLACK, "N": NAVY, "T": TEAL, "Y": GREY}


def paper(row):
    """The sheet inside the black frame is white, not see-through."""
    if "B" not in row:
        return row
    first, last = row.index("B"), row.rindex("B")
    return row[:first] + row[first:last].replace(".", "W") + row[last:]


def image(picture):
    rows = [paper(line) for line in picture.strip("\n").split("\n")]
    size = len(rows)
    assert all(len(row) == size for row in rows), "every row must be as wide as the picture is tall"
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    colour_rows, mask_rows = [], []
    for row in reversed(rows):  # bitmaps are stored bottom-up
        indices = [COLOURS[c] for c in row]
        nibbles = [0 if i is None else i for i in indices]
        packed = bytes((nibbles[x] << 4) | nibbles[x + 1] for x in range(0, size, 2))
        colour_rows.append(packed.ljust((len(packed) + 3) // 4 * 4, b"\0"))
        bits = 0
        for i in indices:
            bits = (bits << 1) | (1 if i is None else 0)
        mask = bits.to_bytes(size // 8, "big")
        mask_rows.append(mask.ljust((len(mask) + 3) // 4 * 4, b"\0"))
    return size, header + palette + b"".join(colour_rows) + b"".join(mask_rows)


def main(path):
    images = [image(ICON_32), image(ICON_16)]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, data = b"", b""
    for size, bits in images:
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(bits), offset + len(data))
        data += bits
    with open(path, "wb") as out:
        out.write(directory + entries + data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "app.ico")
