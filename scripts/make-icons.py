#!/usr/bin/env python3
"""Draws the tool's icons and writes them as 32-bit Windows icon files, or
the program icon as square PNG files for desktop icon themes.

    scripts/make-icons.py [OUTPUT_DIR]             (default: resources/ico)
    scripts/make-icons.py --png OUTPUT_DIR SIZE...  converter-config-SIZE.png
    scripts/make-icons.py --windows-icon FILE       the program icon at 16, 24, 32,
                                                    48, 64 and 256 pixels, square

Plain Python, no imaging library: each picture is a function that gives the
colour of a point, sampled 4 x 4 times per pixel for smooth edges.
"""
import math
import os
import struct
import sys
import zlib

SAMPLES = 4


def clamp(x, lo=0.0, hi=1.0):
    return max(lo, min(hi, x))


def render(width, height, shade):
    """shade(x, y) -> (r, g, b, a) with components in 0..1, or None."""
    pixels = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = shade(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    if c:
                        r, g, b, a = c
                        acc[0] += r * a
                        acc[1] += g * a
                        acc[2] += b * a
                        acc[3] += a
            n = SAMPLES * SAMPLES
            a = acc[3] / n
            if a > 0:
                row.append((acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3], a))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def write_ico(path, width, height, pixels):
    xor = bytearray()
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            xor += bytes((round(b * 255), round(g * 255), round(r * 255), round(a * 255)))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytes(mask_stride * height)  # transparency comes from alpha
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + mask
    icondir = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', width % 256, height % 256, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(icondir + entry + image)


def bitmap_entry(size, pixels):
    """A 32-bit DIB for an icon file: bottom-up colours, then an empty mask."""
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((round(b * 255), round(g * 255), round(r * 255), round(a * 255)))
    mask = bytes(((size + 31) // 32) * 4 * size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(xor) + mask


def write_multi_ico(path, images):
    """images: (size, data) pairs; data a DIB or, for 256, a PNG file's bytes."""
    entries, offset = b'', 6 + 16 * len(images)
    for size, data in images:
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)) + entries +
                b''.join(data for _, data in images))


def write_png(path, size, pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))

    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for r, g, b, a in row:
            raw += bytes((round(r * 255), round(g * 255), round(b * 255), round(a * 255)))
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
                chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def square(shade, width, height, size):
    """The picture drawn on a width x height canvas, centred in a size x size square."""
    scale = max(width, height) / size
    dx, dy = (max(width, height) - width) / 2, (max(width, height) - height) / 2
    return lambda x, y: shade(x * scale - dx, y * scale - dy)


def over(top, bottom):
    """Composites two colours (None is transparent)."""
    if top is None:
        return bottom
    if bottom is None or top[3] >= 1:
        return top
    a = top[3] + bottom[3] * (1 - top[3])
    if a == 0:
        return None
    mix = [(top[i] * top[3] + bottom[i] * bottom[3] * (1 - top[3])) / a for i in range(3)]
    return (mix[0], mix[1], mix[2], a)


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def magnifier(x, y):
    cx, cy, radius, rim = 52.0, 52.0, 34.0, 9.0
    d = math.hypot(x - cx, y - cy)
    colour = None
    if segment_distance(x, y, 80, 80, 114, 114) < 9:
        colour = (0.35, 0.22, 0.12, 1.0)
    if d < radius - rim / 2:
        glint = clamp(1 - math.hypot(x - 40, y - 38) / 30)
        colour = (0.70 + 0.3 * glint, 0.86 + 0.14 * glint, 1.0, 0.55 + 0.3 * glint)
    if abs(d - radius) < rim / 2:
        light = clamp(0.5 - (x + y - 104) / 120)
        colour = (0.15 + 0.3 * light, 0.25 + 0.3 * light, 0.45 + 0.3 * light, 1.0)
    return colour


def rounded_box(x, y, left, top, right, bottom, radius):
    qx = max(left + radius - x, x - (right - radius), 0)
    qy = max(top + radius - y, y - (bottom - radius), 0)
    return math.hypot(qx, qy) <= radius


def converter(x, y):
    # A converter: a blue box with a serial port on the left, a network jack
    # on the right and a double arrow between them.
    if not rounded_box(x, y, 6, 22, 122, 100, 14):
        return None
    shade = 0.85 - 0.25 * (y - 22) / 78
    colour = (0.10 * shade, 0.38 * shade, 0.75 * shade, 1.0)
    if rounded_box(x, y, 16, 44, 46, 78, 6):  # serial port
        colour = (0.85, 0.87, 0.90, 1.0)
        for px, py in ((24, 55), (31, 55), (38, 55), (27, 67), (35, 67)):
            if math.hypot(x - px, y - py) < 2.6:
                colour = (0.2, 0.2, 0.25, 1.0)
    if rounded_box(x, y, 84, 42, 112, 80, 3):  # network jack
        colour = (0.85, 0.87, 0.90, 1.0)
        if 90 <= x <= 106 and 48 <= y <= 70 or 94 <= x <= 102 and 70 <= y <= 75:
            colour = (0.2, 0.2, 0.25, 1.0)
    on_arrow = abs(y - 61) < 3 and 54 < x < 76
    head_left = x >= 50 and abs(y - 61) < (x - 50) * 0.9 and x < 60
    head_right = x <= 80 and abs(y - 61) < (80 - x) * 0.9 and x > 70
    if on_arrow or head_left or head_right:
        colour = (1.0, 1.0, 1.0, 1.0)
    return colour


def gear(x, y):
    cx, cy = 64.0, 64.0
    d = math.hypot(x - cx, y - cy)
    angle = math.atan2(y - cy, x - cx)
    teeth = 10
    phase = (angle * teeth / (2 * math.pi)) % 1.0
    tooth = 1.0 if 0.25 < phase < 0.75 else 0.0
    outer = 44 + 14 * tooth
    if d > outer or d < 16:
        return None
    light = clamp(0.5 + (cx - x + cy - y) / 200)
    grey = 0.45 + 0.3 * light
    if d < 24:
        grey -= 0.12
    return (grey, grey, grey, 1.0)


def main():
    if len(sys.argv) > 1 and sys.argv[1] == '--png':
        out = sys.argv[2]
        os.makedirs(out, exist_ok=True)
        for size in map(int, sys.argv[3:]):
            path = os.path.join(out, 'converter-config-%d.png' % size)
            write_png(path, size, render(size, size, square(converter, 128, 118, size)))
        return
    if len(sys.argv) > 2 and sys.argv[1] == '--windows-icon':
        images = []
        for size in (16, 24, 32, 48, 64, 256):
            pixels = render(size, size, square(converter, 128, 118, size))
            if size == 256:  # as Windows keeps its large icons: PNG inside
                write_png(sys.argv[2] + '.png', size, pixels)
                with open(sys.argv[2] + '.png', 'rb') as f:
                    images.append((size, f.read()))
                os.remove(sys.argv[2] + '.png')
            else:
                images.append((size, bitmap_entry(size, pixels)))
        write_multi_ico(sys.argv[2], images)
        return
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', 'resources', 'ico')
    os.makedirs(out, exist_ok=True)
    for name, width, height, shade in (('query1.ico', 128, 128, magnifier),
                                       ('log.ico', 128, 118, converter),
                                       ('T8.ico', 128, 128, gear)):
        write_ico(os.path.join(out, name), width, height, render(width, height, shade))
        print('wrote', os.path.join(out, name))


if __name__ == '__main__':
    main()
