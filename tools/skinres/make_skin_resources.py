#!/usr/bin/env python3
"""Draws the program's own skin bitmap resources into assets/skinres:
TRACK (16x4, 4 bits: a light track groove), TRACKVERT (4x16, its vertical counterpart) and
TESSELMENU (64x16, 1 bit: restore, maximise, minimise and close glyphs, black on white)."""
import struct
import sys
from pathlib import Path


def bmp(width, height, bits, palette, rows):
    """rows: top-down lists of palette indices."""
    stride = ((width * bits + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, index in enumerate(row):
            bit = x * bits
            line[bit // 8] |= index << (8 - bits - bit % 8)
        data += line
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835, len(palette), 0)
    return header + info + pal + bytes(data)


# Groove: dark top/left edge, light body, white bottom/right edge.
GROOVE = [(160, 166, 176), (212, 216, 222), (236, 238, 241), (255, 255, 255)]


def track():
    return bmp(16, 4, 4, GROOVE + [(0, 0, 0)] * 12, [[0] * 16, [1] * 16, [2] * 16, [3] * 16])


def track_vert():
    return bmp(4, 16, 4, GROOVE + [(0, 0, 0)] * 12, [[0, 1, 2, 3] for _ in range(16)])


def tessel_menu():
    glyphs = [
        # restore: two overlapping windows
        ["................",
         "................",
         ".....#########..",
         ".....#########..",
         ".....#.......#..",
         "..#########..#..",
         "..#########..#..",
         "..#.......#..#..",
         "..#.......####..",
         "..#.......#.....",
         "..#.......#.....",
         "..#########.....",
         "................",
         "................",
         "................",
         "................"],
        # maximise: one window
        ["................",
         "................",
         "..###########...",
         "..###########...",
         "..#.........#...",
         "..#.........#...",
         "..#.........#...",
         "..#.........#...",
         "..#.........#...",
         "..#.........#...",
         "..#.........#...",
         "..###########...",
         "................",
         "................",
         "................",
         "................"],
        # minimise: a bar at the bottom
        ["................"] * 10 +
        ["...#########....",
         "...#########....",
         "................",
         "................",
         "................",
         "................"],
        # close: an X
        ["................",
         "................",
         "...##.....##....",
         "....##...##.....",
         ".....##.##......",
         "......###.......",
         ".....##.##......",
         "....##...##.....",
         "...##.....##....",
         "................",
         "................",
         "................",
         "................",
         "................",
         "................",
         "................"],
    ]
    rows = []
    for y in range(16):
        rows.append([0 if g[y][x] == "#" else 1 for g in glyphs for x in range(16)])
    return bmp(64, 16, 1, [(0, 0, 0), (255, 255, 255)], rows)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2] / "assets" / "skinres"
    out.mkdir(parents=True, exist_ok=True)
    (out / "track.bmp").write_bytes(track())
    (out / "trackvert.bmp").write_bytes(track_vert())
    (out / "tesselmenu.bmp").write_bytes(tessel_menu())


if __name__ == "__main__":
    main()
