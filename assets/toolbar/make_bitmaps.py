#!/usr/bin/env python3
"""Makes the pattern window's tool bitmaps for the parts folder from their
readable source, tools.txt: 22 x 22 pictures painted in a normal, a
highlighted and a disabled look, written as 24-bit BMP files. The files are
committed in assets/parts; run this again after changing the source:

    python3 assets/toolbar/make_bitmaps.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
PARTS = os.path.join(HERE, '..', 'parts')
SIZE = 22

MASK = (255, 0, 255)  # the tool bar's face shows through it
LOOKS = {
    'normal': {'k': (0, 0, 0), 'r': (220, 60, 60), 'b': (40, 80, 200), 'e': (120, 120, 120)},
    'hot': {'k': (0, 0, 170), 'r': (255, 90, 60), 'b': (60, 140, 255), 'e': (90, 90, 200)},
    'disabled': {'k': (128, 128, 128), 'r': (170, 170, 170), 'b': (150, 150, 150), 'e': (190, 190, 190)},
}


def read_tools(path):
    """[(file names, rows)] from tools.txt."""
    tools, names, rows = [], None, []

    def close():
        if names:
            if len(rows) != SIZE or any(len(r) != SIZE for r in rows):
                raise SystemExit(f'{names[0]}: the picture is not {SIZE} x {SIZE}')
            tools.append((names, list(rows)))

    for line in open(path, encoding='utf-8').read().split('\n'):
        if line.startswith('#') or not line.strip():
            continue
        if line.startswith('tool '):
            close()
            names, rows = [n.replace('|', ' ') for n in line[5:].split()], []
        else:
            rows.append(line)
    close()
    return tools


def bmp(rows, colours):
    """A 24-bit BMP file, rows stored from the lowest up."""
    stride = (SIZE * 3 + 3) // 4 * 4
    data = b''
    for row in reversed(rows):
        line = b''
        for c in row:
            if c == '.':
                r, g, b = MASK
            elif c in colours:
                r, g, b = colours[c]
            else:
                raise SystemExit(f'unknown colour {c!r}')
            line += bytes((b, g, r))
        data += line + b'\0' * (stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, len(data), 0, 0, 0, 0)
    return header + info + data


def main():
    os.makedirs(PARTS, exist_ok=True)
    for names, rows in read_tools(os.path.join(HERE, 'tools.txt')):
        for name, look in zip(names, ('normal', 'hot', 'disabled')):
            with open(os.path.join(PARTS, name), 'wb') as f:
                f.write(bmp(rows, LOOKS[look]))


if __name__ == '__main__':
    main()
