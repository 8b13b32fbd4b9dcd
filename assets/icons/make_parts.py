#!/usr/bin/env python3
"""Makes the tool window's icons and the sound window's cursors for the parts
folder from their readable sources: icons.txt (pixel pictures) and the cursor
drawings below; and the two programs' own icons from programs.txt. The binary
files are committed: the parts in assets/parts, the programs' icons in
assets/programs (compiled into Wavora.exe and Pictra.exe, never staged). Run
it again after changing a source:

    python3 assets/icons/make_parts.py

Tool icons get a 16 x 16 and a 32 x 32 image, the programs' icons 16 x 16,
32 x 32 and 48 x 48 (32-bit colour with an AND mask); cursors one 32 x 32
image with its hot spot."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
PARTS = os.path.join(HERE, '..', 'parts')
PROGRAMS = os.path.join(HERE, '..', 'programs')

COLOURS = {
    'k': (0, 0, 0), 'w': (255, 255, 255), 'r': (220, 30, 30), 'g': (30, 160, 60),
    'b': (40, 80, 200), 'n': (20, 30, 120), 'y': (255, 245, 190), 'p': (255, 170, 200),
    'e': (150, 150, 150), 'c': (0, 200, 220), 'o': (255, 150, 40),
}


def read_icons(path):
    """{file name: {size: rows}} from icons.txt or programs.txt."""
    icons, name, size, rows = {}, None, None, []

    def close():
        if name and size:
            if len(rows) != size or any(len(r) != size for r in rows):
                raise SystemExit(f'{name}: the {size} x {size} picture has another shape')
            icons[name][size] = list(rows)

    for line in open(path, encoding='utf-8').read().split('\n'):
        if line.startswith('#') or not line.strip():
            continue
        if line.startswith('icon '):
            close()
            name, size, rows = line[5:].strip(), None, []
            icons[name] = {}
        elif line.startswith('size '):
            close()
            size, rows = int(line[5:]), []
        else:
            rows.append(line)
    close()
    return icons


def with_doubled_32(icons):
    """A tool icon without its own 32 x 32 picture gets its 16 x 16 doubled."""
    for pictures in icons.values():
        if 32 not in pictures:
            pictures[32] = [''.join(c * 2 for c in r) for r in pictures[16] for _ in (0, 1)]
    return icons


def pixels(rows):
    """Rows of (r, g, b) or None for a transparent pixel."""
    out = []
    for r in rows:
        line = []
        for c in r:
            if c == '.':
                line.append(None)
            elif c in COLOURS:
                line.append(COLOURS[c])
            else:
                raise SystemExit(f'unknown colour {c!r}')
        out.append(line)
    return out


def dib(picture):
    """BITMAPINFOHEADER, bottom-up BGRA colours and the AND mask (1 = transparent)."""
    size = len(picture)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(struct.pack('<BBBB', p[2], p[1], p[0], 255) if p else b'\0\0\0\0'
                      for row in reversed(picture) for p in row)
    stride = (size + 31) // 32 * 4
    mask = b''
    for row in reversed(picture):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + colour + mask


def resource_file(kind, images):
    """An .ico (kind 1) or .cur (kind 2) file; images are (picture, x, y) with
    the hot spot for cursors."""
    data = [dib(p) for p, _, _ in images]
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for (picture, x, y), d in zip(images, data):
        size = len(picture)
        planes, bits = (1, 32) if kind == 1 else (x, y)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, planes, bits, len(d), offset)
        offset += len(d)
    return out + b''.join(data)


def blank(size=32):
    return [[None] * size for _ in range(size)]


def outlined(picture, x, y, colour):
    """A pixel with a white rim, so the cursor shows on black and on white."""
    for dx in (-1, 0, 1):
        for dy in (-1, 0, 1):
            if 0 <= x + dx < 32 and 0 <= y + dy < 32 and picture[y + dy][x + dx] is None:
                picture[y + dy][x + dx] = COLOURS['w']
    picture[y][x] = colour


def drawing_cursor():
    """A thin cross with an open centre: the point drawn is the hot spot."""
    p = blank()
    black = COLOURS['k']
    for i in range(2, 30):
        if abs(i - 15) > 2:
            outlined(p, i, 15, black)
            outlined(p, 15, i, black)
    p[15][15] = black
    return p, 15, 15


def magnifier(sign):
    p = blank()
    black = COLOURS['k']
    cx, cy, radius = 12, 12, 9
    for a in range(360):
        t = math.radians(a)
        outlined(p, round(cx + radius * math.cos(t)), round(cy + radius * math.sin(t)), black)
    for i in range(7):
        for w in (0, 1):
            outlined(p, 19 + i + w, 19 + i, black)
    for i in range(-4, 5):
        outlined(p, cx + i, cy, black)
        if sign == '+':
            outlined(p, cx, cy + i, black)
    return p, cx, cy


CURSORS = {
    '名無し0のカーソルのカーソル.cur': drawing_cursor,
    '拡大カーソル.cur': lambda: magnifier('+'),
    '縮小カーソル.cur': lambda: magnifier('-'),
}


def write_icons(source, folder, sizes):
    os.makedirs(folder, exist_ok=True)
    icons = read_icons(os.path.join(HERE, source))
    if sizes == (16, 32):
        with_doubled_32(icons)
    for name, pictures in icons.items():
        missing = [s for s in sizes if s not in pictures]
        if missing:
            raise SystemExit(f'{name}: no {missing[0]} x {missing[0]} picture')
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(resource_file(1, [(pixels(pictures[s]), 0, 0) for s in sizes]))


def main():
    write_icons('icons.txt', PARTS, (16, 32))
    write_icons('programs.txt', PROGRAMS, (16, 32, 48))
    for name, draw in CURSORS.items():
        with open(os.path.join(PARTS, name), 'wb') as f:
            f.write(resource_file(2, [draw()]))


if __name__ == '__main__':
    main()
