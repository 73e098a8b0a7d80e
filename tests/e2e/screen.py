#!/usr/bin/env python3
"""What a user sees and keeps, for the end-to-end scripts.

  screen.py settings FILE [field=value ...]   write a 340-byte settings file: the defaults, changed
                                              (flags, hotkey, delay, pen, size, penkey, palette0..7)
  screen.py expect SECONDS X,Y=RRGGBB ...     wait until the screen shows every pixel as given
                                              (within 24 per channel); prints the misses and exits 1
"""
import struct
import subprocess
import sys
import time

DEFAULTS = dict(flags=0x7F, hotkey=0x2C, delay=1, pen=0, size=5, penkey=0x70)
PALETTE = [0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFF00FF]


def write_settings(path, changes):
    fields, palette = dict(DEFAULTS), list(PALETTE)
    for change in changes:
        name, value = change.split("=")
        if name.startswith("palette"):
            palette[int(name[7:])] = int(value, 0)
        else:
            fields[name] = int(value, 0)
    record = struct.pack("<IIIiII8x8I16x260x", fields["flags"], fields["hotkey"], fields["delay"], fields["pen"],
                         fields["size"], fields["penkey"], *palette)
    assert len(record) == 340
    with open(path, "wb") as f:
        f.write(record)


def screenshot():
    """The root window as (width, height, rgb bytes), through xwd and ImageMagick's PPM."""
    xwd = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, check=True).stdout
    ppm = subprocess.run(["/usr/bin/convert", "xwd:-", "ppm:-"], input=xwd, capture_output=True, check=True).stdout
    header, offset, values = [], 0, []
    while len(values) < 4:  # P6, width, height, maximum, each after white space and comments
        while ppm[offset:offset + 1].isspace():
            offset += 1
        if ppm[offset:offset + 1] == b"#":
            offset = ppm.index(b"\n", offset)
            continue
        end = offset
        while not ppm[end:end + 1].isspace():
            end += 1
        values.append(ppm[offset:end])
        offset = end
    return int(values[1]), int(values[2]), ppm[offset + 1:]


def expect(seconds, wanted):
    points = []
    for w in wanted:
        where, colour = w.split("=")
        x, y = (int(v) for v in where.split(","))
        points.append((x, y, int(colour, 16)))
    deadline = time.time() + float(seconds)
    while True:
        width, _, rgb = screenshot()
        misses = []
        for x, y, colour in points:
            i = 3 * (y * width + x)
            got = (rgb[i] << 16) | (rgb[i + 1] << 8) | rgb[i + 2]
            if any(abs(((got >> s) & 255) - ((colour >> s) & 255)) > 24 for s in (0, 8, 16)):
                misses.append(f"({x},{y}) shows {got:06X}, expected {colour:06X}")
        if not misses or time.time() > deadline:
            break
        time.sleep(0.1)
    for m in misses:
        print(m)
    return 1 if misses else 0


if __name__ == "__main__":
    if sys.argv[1] == "settings":
        write_settings(sys.argv[2], sys.argv[3:])
    elif sys.argv[1] == "expect":
        sys.exit(expect(sys.argv[2], sys.argv[3:]))
    else:
        sys.exit(__doc__)
