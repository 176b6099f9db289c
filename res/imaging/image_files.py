"""Image files for the build's generators: BMP, ICO, PNG and GIF writers.

The wizard's skin and icon (res/skin/make_skin.py) and the images of the
stand-in application (standins/images/make_images.py) are drawn by two
scripts and written through this one module. It lives in res/, beside the
skin generator, because writing the program's own bitmaps and icon is its
main job; the stand-ins reuse it as their programs reuse src/config.

An image is given as its rows, top row first. Each row is a list of pixels;
a pixel is a tuple of 8-bit values, (r, g, b) or (r, g, b, a), or for GIF a
palette index. The writers add no time stamps or other ancillary data, so the
same image gives the same bytes on every run.

Only the standard library is used.
"""

import struct
import zlib

# ---------------------------------------------------------------------------
# BMP and ICO: device-independent bitmaps
# ---------------------------------------------------------------------------


def size_of(rows):
    """(width, height) of an image given as rows."""
    return (len(rows[0]) if rows else 0), len(rows)


def bitmap_info_header(width, height, bpp, image_size):
    """BITMAPINFOHEADER, BI_RGB, 72 dpi."""
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0,
                       image_size, 2835, 2835, 0, 0)


def dib_rows(rows, bpp):
    """Bottom-up pixel rows in BGR(A) order, each padded to 4 bytes.

    24 bpp leaves out any alpha; 32 bpp writes the pixel's alpha.
    """
    width, _ = size_of(rows)
    stride = (width * bpp // 8 + 3) & ~3
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for pixel in row:
            line += bytes((pixel[2], pixel[1], pixel[0]))
            if bpp == 32:
                line.append(pixel[3])
        line += b"\0" * (stride - len(line))
        out += line
    return bytes(out)


def write_bmp(path, rows, bpp=24):
    """Uncompressed bottom-up BMP of 24 or 32 bits per pixel."""
    width, height = size_of(rows)
    pixels = dib_rows(rows, bpp)
    header = bitmap_info_header(width, height, bpp, len(pixels))
    offset = 14 + len(header)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0,
                              offset)
    with open(path, "wb") as f:
        f.write(file_header + header + pixels)


def is_transparent(pixel):
    """An icon's mask hides a pixel that is less than half opaque."""
    return pixel[3] < 128


def and_mask(rows):
    """1 bpp icon mask, bottom-up: set bits mark transparent pixels."""
    width, _ = size_of(rows)
    stride = ((width + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            if is_transparent(pixel):
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def icon_image(rows, bpp):
    """One icon image from RGBA rows: header with doubled height, colour
    bits, mask."""
    width, height = size_of(rows)
    if bpp == 24:
        # No alpha channel: transparent pixels are black, the mask hides them.
        flat = [[(0, 0, 0) if is_transparent(p) else p[:3] for p in row]
                for row in rows]
        colour = dib_rows(flat, 24)
    else:
        colour = dib_rows(rows, 32)
    mask = and_mask(rows)
    header = bitmap_info_header(width, height * 2, bpp,
                                len(colour) + len(mask))
    return header + colour + mask


def write_ico(path, images):
    """images: list of (rows, bpp), each rows in RGBA."""
    blobs = [icon_image(rows, bpp) for rows, bpp in images]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (rows, bpp), blob in zip(images, blobs):
        width, height = size_of(rows)
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0,
                                 1, bpp, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(directory + b"".join(blobs))


# ---------------------------------------------------------------------------
# PNG
# ---------------------------------------------------------------------------


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def write_png(path, rows):
    """8-bit PNG, RGB or RGBA as the pixels are, no ancillary chunks."""
    width, height = size_of(rows)
    channels = len(rows[0][0])
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter: none
        for pixel in row:
            raw += bytes(pixel)
    colour_type = 6 if channels == 4 else 2
    ihdr = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) +
                png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
                png_chunk(b"IEND", b""))


# ---------------------------------------------------------------------------
# GIF, with its own LZW encoder
# ---------------------------------------------------------------------------


class BitPacker:
    """Collects variable-width codes least significant bit first."""

    def __init__(self):
        self.data = bytearray()
        self.acc = 0
        self.bits = 0

    def write(self, code, width):
        self.acc |= code << self.bits
        self.bits += width
        while self.bits >= 8:
            self.data.append(self.acc & 0xFF)
            self.acc >>= 8
            self.bits -= 8

    def finish(self):
        if self.bits:
            self.data.append(self.acc & 0xFF)
        return bytes(self.data)


def lzw_encode(indices, min_code_size):
    """GIF flavour of LZW: clear and end codes, widths up to 12 bits.

    The decoder adds its table entries one code later than the encoder,
    so the encoder widens its codes once its next free code has gone past
    the current width, not when it reaches it.
    """
    clear = 1 << min_code_size
    end = clear + 1
    out = BitPacker()

    def reset():
        return {(i,): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, width = reset()
    out.write(clear, width)
    current = (indices[0],)
    for index in indices[1:]:
        candidate = current + (index,)
        if candidate in table:
            current = candidate
            continue
        out.write(table[current], width)
        table[candidate] = next_code
        next_code += 1
        if next_code > (1 << width) and width < 12:
            width += 1
        if next_code >= 4096:
            # Table full: start over rather than keep stale entries.
            out.write(clear, width)
            table, next_code, width = reset()
        current = (index,)
    out.write(table[current], width)
    out.write(end, width)
    return out.finish()


def sub_blocks(data):
    """GIF data sub-blocks: a length byte before each piece of <= 255."""
    out = bytearray()
    for i in range(0, len(data), 255):
        piece = data[i:i + 255]
        out.append(len(piece))
        out += piece
    out.append(0)
    return bytes(out)


def write_gif(path, rows, palette):
    """One-frame GIF89a with a global colour table; rows of palette
    indices."""
    width, height = size_of(rows)
    bits = 1
    while (1 << bits) < len(palette):
        bits += 1
    table = bytearray()
    for i in range(1 << bits):
        table += bytes(palette[i] if i < len(palette) else (0, 0, 0))
    min_code_size = max(2, bits)
    header = b"GIF89a" + struct.pack("<HHBBB", width, height,
                                     0x80 | ((bits - 1) << 4) | (bits - 1),
                                     0, 0)
    descriptor = b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    data = lzw_encode([index for row in rows for index in row], min_code_size)
    with open(path, "wb") as f:
        f.write(header + bytes(table) + descriptor +
                bytes([min_code_size]) + sub_blocks(data) + b"\x3b")
