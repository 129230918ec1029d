#!/usr/bin/env python3
"""Reads X window dumps (xwd) for the desktop tests.

  screen.py text DUMP      the box around the frame-rate text's green pixels, as
                           "left top right bottom" (inclusive), or "none"
  screen.py count DUMP RRGGBB
                           how many pixels show that colour exactly
  screen.py where DUMP RRGGBB
                           the box around the pixels of that colour, as "left top right
                           bottom" (inclusive), or "none"
  screen.py png DUMP OUT   the dump as a PNG picture, to look at
"""
import struct
import sys
import zlib


def read_dump(path):
    """Width, height and a function giving the (r, g, b) of a pixel."""
    data = open(path, 'rb').read()
    header = struct.unpack('>25I', data[:100])
    header_size, width, height = header[0], header[4], header[5]
    byte_order, bits_per_pixel, line_bytes = header[7], header[11], header[12]
    masks = header[14:17]
    colours = header[19]
    pixels = data[header_size + colours * 12:]
    size = bits_per_pixel // 8
    order = 'little' if byte_order == 0 else 'big'

    def channel(value, mask):
        shift = (mask & -mask).bit_length() - 1
        return (value & mask) >> shift

    def pixel(x, y):
        at = y * line_bytes + x * size
        value = int.from_bytes(pixels[at:at + size], order)
        return tuple(channel(value, m) for m in masks)

    return width, height, pixel


def dump_of_24_bits(path):
    """Width, height, bytes a pixel, bytes a line and the pixels of a dump of a 24-bit
    display, whose pixels hold blue, green and red in that order."""
    data = open(path, 'rb').read()
    header = struct.unpack('>25I', data[:100])
    width, height, byte_order = header[4], header[5], header[7]
    size, line_bytes, masks = header[11] // 8, header[12], header[14:17]
    if byte_order != 0 or size not in (3, 4) or masks != (0xff0000, 0xff00, 0xff):
        sys.exit('%s: not a dump of a 24-bit display' % path)
    return width, height, size, line_bytes, data[header[0] + header[19] * 12:]


def count(path, colour):
    return where(path, colour)[0]


def where(path, colour):
    """How many pixels show the colour, and the box around them (None without any)."""
    width, height, size, line_bytes, pixels = dump_of_24_bits(path)
    value = int(colour, 16)
    wanted = (value & 0xff, (value >> 8) & 0xff, value >> 16)
    found, box = 0, None
    for y in range(height):
        row = pixels[y * line_bytes:y * line_bytes + width * size]
        xs = [x for x, pixel in enumerate(zip(row[0::size], row[1::size], row[2::size]))
              if pixel == wanted]
        if xs:
            found += len(xs)
            box = (min(xs), y, max(xs), y) if box is None else (
                min(box[0], xs[0]), box[1], max(box[2], xs[-1]), y)
    return found, box


def text_box(path, rows=160):
    """The frame-rate text is the only green on the screen: red and blue low, green high.
    It stands at the top of the picture, so only the top rows are searched."""
    width, height, size, line_bytes, pixels = dump_of_24_bits(path)
    high = bytes(1 if v > 128 else 0 for v in range(256))
    low = bytes(1 if v < 100 else 0 for v in range(256))
    xs, ys = [], []
    for y in range(min(rows, height)):
        row = pixels[y * line_bytes:y * line_bytes + width * size]
        green = row[1::size].translate(high)
        if 1 not in green:
            continue
        red, blue = row[2::size].translate(low), row[0::size].translate(low)
        for x in range(width):
            if green[x] and red[x] and blue[x]:
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return min(xs), min(ys), max(xs), max(ys)


def write_png(path, out):
    width, height, pixel = read_dump(path)
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(pixel(x, y))

    def chunk(kind, body):
        return (struct.pack('>I', len(body)) + kind + body +
                struct.pack('>I', zlib.crc32(kind + body) & 0xffffffff))

    with open(out, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n')
        f.write(chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b'IDAT', zlib.compress(bytes(raw), 6)))
        f.write(chunk(b'IEND', b''))


if __name__ == '__main__':
    if len(sys.argv) == 3 and sys.argv[1] == 'text':
        box = text_box(sys.argv[2])
        print('none' if box is None else '%d %d %d %d' % box)
    elif len(sys.argv) == 4 and sys.argv[1] == 'count':
        print(count(sys.argv[2], sys.argv[3]))
    elif len(sys.argv) == 4 and sys.argv[1] == 'where':
        box = where(sys.argv[2], sys.argv[3])[1]
        print('none' if box is None else '%d %d %d %d' % box)
    elif len(sys.argv) == 4 and sys.argv[1] == 'png':
        write_png(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
