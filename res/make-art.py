#!/usr/bin/env python3
"""Re-makes the program's artwork: glimmerdot.ico and logo.bmp beside this file.

The icon is drawn pixel by pixel in the 16 standard colours. The logo is drawn
by ImageMagick (it has the font rasteriser) and packed here, so both files keep
exactly the formats the resources need: a single 32x32 4-bit icon image and an
8-bit bitmap with a full 256-entry colour table.

    python3 res/make-art.py [--preview DIR]   # DIR gets 4x PNGs to look at
"""
import os
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
FONTS = "/usr/share/fonts/truetype/liberation"  # Debian: fonts-liberation

NAVY, RED, WHITE = "#1f3a93", "#d62828", "#ffffff"

# The 16 colours every display can show; icon pixels are indexes into this.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
ICON_BLACK, ICON_NAVY, ICON_RED, ICON_WHITE = 0, 4, 9, 15
TRANSPARENT = None


def icon_pixel(x, y):
    """A sight: navy ring on a white disc, crosshair ticks, red dot."""
    dx, dy = x + 0.5 - 16, y + 0.5 - 16
    r = (dx * dx + dy * dy) ** 0.5
    on_vertical, on_horizontal = abs(dx) < 1.5, abs(dy) < 1.5
    if r < 4.2:
        return ICON_RED
    if r > 15.6:
        return TRANSPARENT
    if 14.6 < r:
        return ICON_BLACK if not (on_vertical or on_horizontal) else ICON_NAVY
    if 11.2 < r:
        return ICON_NAVY
    if (on_vertical or on_horizontal) and r > 6.8:
        return ICON_NAVY
    return ICON_WHITE


def make_icon():
    size = 32
    rows = [[icon_pixel(x, y) for x in range(size)] for y in range(size)]
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # DIB rows run bottom-up
        indexes = [0 if p is TRANSPARENT else p for p in row]
        xor += bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, size, 2))
        bits = 0
        for p in row:
            bits = (bits << 1) | (p is TRANSPARENT)
        mask += struct.pack(">I", bits)  # 32 pixels: exactly one padded row
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA16)
    # The height counts the colour image and the mask stacked together.
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + image, rows


def render_logo():
    """Returns the 122x60 logo as rows of (r, g, b), at most 256 colours."""
    width, height = 122, 60
    cx, cy = 17.5, 19.5
    command = [
        "convert", "-size", f"{width}x{height}", f"xc:{WHITE}",
        "-fill", "none", "-stroke", NAVY, "-strokewidth", "2",
        "-draw", f"circle {cx},{cy} {cx},{cy - 10.5}",
        "-draw", f"line {cx},3 {cx},12", "-draw", f"line {cx},27 {cx},36",
        "-draw", f"line 1,{cy} 10,{cy}", "-draw", f"line 25,{cy} 34,{cy}",
        "-stroke", "none", "-fill", RED, "-draw", f"circle {cx},{cy} {cx},{cy - 3}",
        "-fill", NAVY, "-font", f"{FONTS}/LiberationSans-Bold.ttf", "-pointsize", "14",
        "-annotate", "+38+25", "Glimmerdot",
        "-draw", "rectangle 3,41 118,41",
        "-fill", "#202020", "-font", f"{FONTS}/LiberationSans-Regular.ttf",
        "-pointsize", "10", "-annotate", "+2+55", "www.glimmerdot.example",
        "+dither", "-colors", "256", "-depth", "8", "ppm:-",
    ]
    ppm = subprocess.run(command, check=True, stdout=subprocess.PIPE).stdout
    magic, w, h, maxval, pixels = ppm.split(maxsplit=4)
    if (magic, int(w), int(h), int(maxval)) != (b"P6", width, height, 255):
        sys.exit("unexpected image from convert")
    return [[tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3])
             for x in range(width)] for y in range(height)]


def make_bmp8(rows):
    height, width = len(rows), len(rows[0])
    colours = sorted({p for row in rows for p in row})
    if len(colours) > 256:
        sys.exit("logo has more than 256 colours")
    index = {c: i for i, c in enumerate(colours)}
    colours += [(0, 0, 0)] * (256 - len(colours))
    stride = (width + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        data += bytes(index[p] for p in row) + bytes(stride - width)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(data),
                       2835, 2835, 256, 0)
    offset = 14 + len(info) + len(palette)
    return struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + info + palette + data


def write_preview(directory, name, rows):
    height, width = len(rows), len(rows[0])
    flat = bytes(v for row in rows for p in row for v in p)
    path = os.path.join(directory, name)
    subprocess.run(["convert", "-size", f"{width}x{height}", "-depth", "8", "rgb:-",
                    "-filter", "point", "-resize", "400%", path], input=flat, check=True)


def main():
    icon, icon_rows = make_icon()
    logo_rows = render_logo()
    with open(os.path.join(HERE, "glimmerdot.ico"), "wb") as f:
        f.write(icon)
    with open(os.path.join(HERE, "logo.bmp"), "wb") as f:
        f.write(make_bmp8(logo_rows))
    if len(sys.argv) == 3 and sys.argv[1] == "--preview":
        # Transparent icon pixels shown as mid grey.
        shown = [[(128, 128, 160) if p is TRANSPARENT else VGA16[p] for p in row]
                 for row in icon_rows]
        write_preview(sys.argv[2], "icon-x4.png", shown)
        write_preview(sys.argv[2], "logo-x4.png", logo_rows)


if __name__ == "__main__":
    main()
