#!/usr/bin/env python3
"""Draws Zelmora's icons (a telephone handset over a modem), the About picture's artwork and
the dial sound. The outputs are committed under code/res; run this again after a change here:

    python3 tools/art/make-art.py code/res
"""
import math
import struct
import subprocess
import sys
import wave
from pathlib import Path


def inside_round_rect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def inside_ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def shade(colour, factor):
    return tuple(max(0, min(255, int(c * factor))) for c in colour)


def sample(x, y):
    """Colour (r, g, b, a) of the picture at (x, y) in a 32 x 32 design space, or None."""
    # Handset: ear and mouth pieces joined by a curved grip.
    handset = (30, 34, 44)
    if inside_ellipse(x, y, 7.5, 11.5, 4.2, 3.6) or inside_ellipse(x, y, 24.5, 11.5, 4.2, 3.6):
        return shade(handset, 1.0 + 0.6 * max(0.0, (11 - y) / 4)) + (255,)
    d = math.hypot(x - 16, y - 19)
    if 11.0 <= d <= 14.2 and y < 12.5:
        return shade(handset, 1.0 + 0.9 * max(0.0, (d - 12.6) / 1.6)) + (255,)
    # Modem case with a darker front strip and three lamps.
    if inside_round_rect(x, y, 2.5, 16.5, 29.5, 28.5, 3.0):
        if 23.0 <= y <= 25.5:
            for lx, colour in ((8.0, (80, 220, 90)), (13.0, (80, 220, 90)), (18.0, (250, 190, 40))):
                if abs(x - lx) <= 1.3:
                    return colour + (255,)
        body = (52, 104, 176) if y < 22 else (38, 80, 140)
        return shade(body, 1.25 - 0.03 * (y - 16.5)) + (255,)
    # Slots of the handset cradle.
    if 14.5 <= y <= 16.5 and (6 <= x <= 10 or 22 <= x <= 26):
        return (40, 70, 120, 255)
    return None


def render(size, supersample=4):
    """RGBA rows, top to bottom, of the picture at size x size pixels."""
    rows = []
    scale = 32.0 / size
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(supersample):
                for sx in range(supersample):
                    c = sample((px + (sx + 0.5) / supersample) * scale,
                               (py + (sy + 0.5) / supersample) * scale)
                    if c:
                        acc = [a + b * (c[3] / 255) if i < 3 else a + b
                               for i, (a, b) in enumerate(zip(acc, c))]
            n = supersample * supersample
            alpha = acc[3] / n
            if alpha:
                rgb = [int(acc[i] / (acc[3] / 255)) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((*rgb, int(round(alpha))))
        rows.append(row)
    return rows


def dib_32bpp(rows):
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # the alpha channel decides; the AND mask is all opaque
    return header + pixels + mask


def write_icon(path, sizes):
    images = [dib_32bpp(render(s)) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    Path(path).write_bytes(out + b''.join(images))


def write_about_bitmap(path, work):
    """203 x 61, 24 bits per pixel: the 48-pixel picture beside the product name."""
    icon = render(48)
    pam = work / 'icon48.pam'
    data = b''.join(bytes(px) for row in icon for px in row)
    pam.write_bytes(b'P7\nWIDTH 48\nHEIGHT 48\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n' + data)
    subprocess.run([
        'convert', '-size', '203x61', 'gradient:#f4f8ff-#c9d8ee',
        str(pam), '-geometry', '+8+6', '-composite',
        '-font', 'DejaVu-Sans-Bold', '-pointsize', '24', '-fill', '#1d3c6e',
        '-annotate', '+64+32', 'Zelmora',
        '-font', 'DejaVu-Sans', '-pointsize', '10', '-fill', '#3b5a86',
        '-annotate', '+65+48', 'voice calls by modem',
        '-alpha', 'off', '-type', 'TrueColor', f'BMP3:{path}'], check=True)


def write_dial_sound(path):
    """A short run of touch tones: 8 kHz, 16-bit mono."""
    pairs = {'5': (770, 1336), '1': (697, 1209), '2': (697, 1336), '3': (697, 1477),
             '4': (770, 1209), '9': (852, 1477), '0': (941, 1336)}
    rate, samples = 8000, []
    for digit in '5551234':
        low, high = pairs[digit]
        n = int(rate * 0.09)
        for i in range(n):
            fade = min(1.0, i / 80, (n - i) / 80)
            v = 0.35 * fade * (math.sin(2 * math.pi * low * i / rate) +
                               math.sin(2 * math.pi * high * i / rate))
            samples.append(int(v * 32767 * 0.9))
        samples.extend([0] * int(rate * 0.06))
    with wave.open(str(path), 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(struct.pack(f'<{len(samples)}h', *samples))


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else 'code/res')
    work = Path('/tmp/zelmora-art')
    work.mkdir(exist_ok=True)
    write_icon(out / 'zelmora.ico', [16, 32])
    write_icon(out / 'zelmora_small.ico', [16])
    write_about_bitmap(out / 'about.bmp', work)
    write_dial_sound(out / 'dial.wav')


if __name__ == '__main__':
    main()
