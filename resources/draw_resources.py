#!/usr/bin/env python3
"""Draws Quorrel's resources and writes them beside this script.

    logo.bmp     bitmap "FIREFOX": 191 x 75, 8 bits per pixel, keyed background for transparent drawing
    info.bmp     bitmap "INFO": 68 x 227, 8 bits per pixel, the side picture of the information window
    quorrel.ico  icon "KELVAR": 16, 32 and 48 pixels, 32-bit with alpha and AND masks
    hand.cur     cursor "DRUCKER": 32 x 32 monochrome pointing hand, hot spot at the fingertip

Every picture is built from the simple shapes below and rendered with 4 x 4 supersampling, so running the
script again reproduces the files byte for byte. Only the standard library is used; the build does not run
this script, the generated files are kept in the repository. demo/draw_demo_images.py imports the shape
and file-format helpers from here.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The logo is drawn with the colour of its corner pixel left out. Magenta never occurs in the picture, and
# edge pixels are blended toward the window's button-face grey so that no coloured fringe shows.
KEY_COLOUR = (255, 0, 255)
BUTTON_FACE = (240, 240, 240)

# LoadImage with LR_LOADMAP3DCOLORS replaces these exact greys of a palette by the current 3-D colours.
MAPPED_3D_GREYS = {(128, 128, 128), (192, 192, 192), (223, 223, 223)}

SUPERSAMPLING = 4


# ---------------------------------------------------------------------------------------------------------
# Shapes: a bounding box and a point test, in pixel coordinates (pixel (x, y) covers [x, x+1) x [y, y+1)).

class Shape:
    def __init__(self, box, contains):
        self.box = box  # (x0, y0, x1, y1)
        self.contains = contains

    def __and__(self, other):
        box = (max(self.box[0], other.box[0]), max(self.box[1], other.box[1]),
               min(self.box[2], other.box[2]), min(self.box[3], other.box[3]))
        return Shape(box, lambda x, y: self.contains(x, y) and other.contains(x, y))

    def __sub__(self, other):
        return Shape(self.box, lambda x, y: self.contains(x, y) and not other.contains(x, y))

    def __or__(self, other):
        box = (min(self.box[0], other.box[0]), min(self.box[1], other.box[1]),
               max(self.box[2], other.box[2]), max(self.box[3], other.box[3]))
        return Shape(box, lambda x, y: self.contains(x, y) or other.contains(x, y))


def union(*shapes):
    result = shapes[0]
    for shape in shapes[1:]:
        result = result | shape
    return result


def circle(cx, cy, r):
    return Shape((cx - r, cy - r, cx + r, cy + r), lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r)


def ring(cx, cy, r_outer, r_inner):
    def contains(x, y):
        d = (x - cx) ** 2 + (y - cy) ** 2
        return r_inner * r_inner <= d <= r_outer * r_outer
    return Shape((cx - r_outer, cy - r_outer, cx + r_outer, cy + r_outer), contains)


def ellipse(cx, cy, rx, ry, angle=0.0):
    """Filled ellipse turned by angle degrees (counter-clockwise on screen)."""
    c, s = math.cos(math.radians(angle)), math.sin(math.radians(angle))

    def contains(x, y):
        dx, dy = x - cx, y - cy
        u = dx * c - dy * s
        v = dx * s + dy * c
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0
    r = max(rx, ry)
    return Shape((cx - r, cy - r, cx + r, cy + r), contains)


def rect(x0, y0, x1, y1):
    return Shape((x0, y0, x1, y1), lambda x, y: x0 <= x < x1 and y0 <= y < y1)


def rounded_rect(x0, y0, x1, y1, radius):
    def contains(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        nx = min(max(x, x0 + radius), x1 - radius)
        ny = min(max(y, y0 + radius), y1 - radius)
        return (x - nx) ** 2 + (y - ny) ** 2 <= radius * radius
    return Shape((x0, y0, x1, y1), contains)


def polygon(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    edges = list(zip(points, points[1:] + points[:1]))

    def contains(x, y):
        inside = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return inside
    return Shape((min(xs), min(ys), max(xs), max(ys)), contains)


def stroke(points, width):
    """A polyline of the given width with round ends and joins."""
    half = width / 2.0
    segments = []
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy or 1e-12
        box = (min(ax, bx) - half, min(ay, by) - half, max(ax, bx) + half, max(ay, by) + half)
        segments.append((ax, ay, dx, dy, length2, box))

    def contains(x, y):
        for ax, ay, dx, dy, length2, (x0, y0, x1, y1) in segments:
            if x0 <= x <= x1 and y0 <= y <= y1:
                t = min(1.0, max(0.0, ((x - ax) * dx + (y - ay) * dy) / length2))
                ex, ey = x - ax - t * dx, y - ay - t * dy
                if ex * ex + ey * ey <= half * half:
                    return True
        return False
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape((min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half), contains)


def arc_points(cx, cy, rx, ry, start, end, steps=None):
    """Points of an elliptic arc; angles in degrees, counter-clockwise on screen (y grows downward)."""
    if steps is None:
        steps = max(4, int(abs(end - start) / 8))
    points = []
    for i in range(steps + 1):
        a = math.radians(start + (end - start) * i / steps)
        points.append((cx + rx * math.cos(a), cy - ry * math.sin(a)))
    return points


# ---------------------------------------------------------------------------------------------------------
# Paints: a colour (r, g, b) or (r, g, b, alpha 0..1), or a function of the pixel centre returning one.

def mix(c1, c2, t):
    t = min(1.0, max(0.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def vertical_gradient(y0, y1, *stops):
    """Colours spread evenly from y0 to y1."""
    def paint(x, y):
        t = (y - y0) / (y1 - y0) * (len(stops) - 1)
        i = min(len(stops) - 2, max(0, int(math.floor(t))))
        return mix(stops[i], stops[i + 1], t - i)
    return paint


def linear_gradient(x0, y0, x1, y1, c0, c1):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def paint(x, y):
        return mix(c0, c1, ((x - x0) * dx + (y - y0) * dy) / length2)
    return paint


def radial_gradient(cx, cy, r, c0, c1):
    def paint(x, y):
        return mix(c0, c1, math.hypot(x - cx, y - cy) / r)
    return paint


# ---------------------------------------------------------------------------------------------------------
# Canvas: straight (not premultiplied) RGBA floats, composited with "over".

class Canvas:
    def __init__(self, width, height, background=None):
        self.width = width
        self.height = height
        fill = [float(v) for v in background] + [1.0] if background else [0.0, 0.0, 0.0, 0.0]
        self.pixels = [list(fill) for _ in range(width * height)]

    def fill(self, shape, paint, opacity=1.0):
        n = SUPERSAMPLING
        offsets = [(i + 0.5) / n for i in range(n)]
        x0, y0, x1, y1 = shape.box
        for py in range(max(0, int(math.floor(y0))), min(self.height, int(math.ceil(y1)) + 1)):
            for px in range(max(0, int(math.floor(x0))), min(self.width, int(math.ceil(x1)) + 1)):
                hits = sum(1 for oy in offsets for ox in offsets if shape.contains(px + ox, py + oy))
                if hits:
                    colour = paint(px + 0.5, py + 0.5) if callable(paint) else paint
                    alpha = (colour[3] if len(colour) > 3 else 1.0) * opacity * hits / (n * n)
                    self.blend(px, py, colour[:3], alpha)

    def blend(self, x, y, rgb, alpha):
        pixel = self.pixels[y * self.width + x]
        under = pixel[3] * (1.0 - alpha)
        total = alpha + under
        if total <= 0.0:
            return
        for i in range(3):
            pixel[i] = (rgb[i] * alpha + pixel[i] * under) / total
        pixel[3] = total

    def put(self, x, y, rgb, alpha=1.0):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.blend(x, y, rgb, alpha)

    def draw_pixel_text(self, x, y, text, font, colour, spacing=1):
        """Crisp text from a bitmap font: a dict of character -> rows of '#' and '.'."""
        for ch in text:
            rows = font[ch]
            for dy, row in enumerate(rows):
                for dx, bit in enumerate(row):
                    if bit == '#':
                        self.put(x + dx, y + dy, colour)
            x += len(rows[0]) + spacing

    def draw_pixel_map(self, x, y, rows, legend):
        """Pixel art: rows of characters, each a key of legend (colour with optional alpha); '.' is empty."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch != '.':
                    colour = legend[ch]
                    self.put(x + dx, y + dy, colour[:3], colour[3] if len(colour) > 3 else 1.0)

    def rgba_rows(self):
        """Rows top to bottom of (r, g, b, a) bytes."""
        rows = []
        for y in range(self.height):
            row = []
            for x in range(self.width):
                r, g, b, a = self.pixels[y * self.width + x]
                row.append((to_byte(r), to_byte(g), to_byte(b), to_byte(a * 255.0)))
            rows.append(row)
        return rows

    def flattened_rows(self, background):
        """Rows top to bottom of (r, g, b), composited over an opaque background colour."""
        rows = []
        for y in range(self.height):
            row = []
            for x in range(self.width):
                r, g, b, a = self.pixels[y * self.width + x]
                row.append(tuple(to_byte(c * a + bg * (1.0 - a)) for c, bg in zip((r, g, b), background)))
            rows.append(row)
        return rows


def to_byte(value):
    return max(0, min(255, int(round(value))))


# ---------------------------------------------------------------------------------------------------------
# Palette reduction for the 8-bit bitmaps: median cut over the distinct colours, weighted by pixel count.

def median_cut(colour_counts, limit):
    boxes = [list(colour_counts.items())]
    while len(boxes) < limit:
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: box_extent(b) * sum(n for _, n in b))
        boxes.remove(box)
        channel = max(range(3), key=lambda i: max(c[i] for c, _ in box) - min(c[i] for c, _ in box))
        box.sort(key=lambda item: item[0][channel])
        total = sum(n for _, n in box)
        running, cut = 0, 1
        for i, (_, n) in enumerate(box[:-1]):
            running += n
            if running * 2 >= total:
                cut = i + 1
                break
        boxes.extend([box[:cut], box[cut:]])
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(to_byte(sum(c[i] * n for c, n in box) / total) for i in range(3)))
    return palette


def box_extent(box):
    return max(max(c[i] for c, _ in box) - min(c[i] for c, _ in box) for i in range(3))


def safe_palette_colour(colour, key):
    """Moves a colour off the key colour and off the greys that LR_LOADMAP3DCOLORS would replace."""
    while colour in MAPPED_3D_GREYS or colour == key:
        colour = (colour[0], colour[1], colour[2] + 1 if colour[2] < 255 else colour[2] - 1)
    return colour


def palettize(rows, key=None, limit=256):
    """Returns (palette, index rows). The key colour, when given, is entry 0 and used only where it stood."""
    counts = {}
    for row in rows:
        for colour in row:
            if colour != key:
                counts[colour] = counts.get(colour, 0) + 1
    room = limit - (1 if key else 0)
    colours = sorted(counts) if len(counts) <= room else median_cut(counts, room)
    colours = [safe_palette_colour(c, key) for c in colours]
    palette = ([key] if key else []) + colours
    nearest = {}
    for colour in counts:
        nearest[colour] = min(range(len(palette) - len(colours), len(palette)),
                              key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))
    index_rows = [[0 if colour == key else nearest[colour] for colour in row] for row in rows]
    return palette, index_rows


# ---------------------------------------------------------------------------------------------------------
# File formats.

def bmp_8bit(palette, index_rows):
    """Bottom-up 8-bit DIB with a palette of len(palette) entries."""
    height, width = len(index_rows), len(index_rows[0])
    stride = (width + 3) & ~3
    pixels = b''.join(bytes(row) + b'\0' * (stride - width) for row in reversed(index_rows))
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(pixels), 2835, 2835,
                       len(palette), 0)
    return header + info + colours + pixels


def and_mask(opaque_rows):
    """1-bit mask, bottom-up, rows padded to 32 bits: 1 where the screen shows through."""
    width = len(opaque_rows[0])
    stride = ((width + 31) // 32) * 4
    data = b''
    for row in reversed(opaque_rows):
        bits = bytearray(stride)
        for x, opaque in enumerate(row):
            if not opaque:
                bits[x // 8] |= 0x80 >> (x % 8)
        data += bytes(bits)
    return data


def icon_image_32bit(rgba_rows):
    """One image of an icon file: BITMAPINFOHEADER (double height), BGRA pixels bottom-up, AND mask."""
    height, width = len(rgba_rows), len(rgba_rows[0])
    pixels = b''
    for row in reversed(rgba_rows):
        for r, g, b, a in row:
            pixels += struct.pack('<BBBB', b, g, r, a) if a else b'\0\0\0\0'
    mask = and_mask([[a >= 128 for _, _, _, a in row] for row in rgba_rows])
    info = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0, len(pixels) + len(mask),
                       0, 0, 0, 0)
    return info + pixels + mask


def ico_file(images):
    """images: list of (width, height, image bytes) with 32-bit images."""
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b'', b''
    for width, height, image in images:
        entries += struct.pack('<BBBBHHII', width % 256, height % 256, 0, 0, 1, 32, len(image),
                               offset + len(data))
        data += image
    return directory + entries + data


def monochrome_cursor(art, hotspot):
    """A .cur file from rows of '.' (transparent), '#' (black) and 'o' (white), any size up to 32 x 32,
    placed at the top left of a 32 x 32 image."""
    size = 32
    rows = [row.ljust(size, '.') for row in art] + ['.' * size] * (size - len(art))
    colour_rows = [[ch == 'o' for ch in row] for row in rows]
    xor = and_mask([[not white for white in row] for row in colour_rows])  # bit set where white
    mask = and_mask([[ch != '.' for ch in row] for row in rows])
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    image = info + palette + xor + mask
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', size, size, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


def png_file(rgba_rows):
    """Truecolour PNG with alpha."""
    height, width = len(rgba_rows), len(rgba_rows[0])
    raw = b''.join(b'\0' + bytes(v for pixel in row for v in pixel) for row in rgba_rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9))
            + chunk(b'IEND', b''))


def gif_file(rgba_rows, matte=(255, 255, 255)):
    """GIF with a 128-entry palette whose entry 0 is transparent; pixels at least half opaque are
    composited over matte. The image data uses the plain-code form of LZW: a clear code comes before the
    table would widen the codes, so every code stands for one pixel."""
    width, height = len(rgba_rows[0]), len(rgba_rows)
    rows = [[KEY_COLOUR if a < 128 else tuple(to_byte((c * a + m * (255 - a)) / 255.0)
                                              for c, m in zip((r, g, b), matte))
             for r, g, b, a in row] for row in rgba_rows]
    palette, index_rows = palettize(rows, KEY_COLOUR, 128)
    table = palette + [(0, 0, 0)] * (128 - len(palette))
    transparent = 0
    pixels = [i for row in index_rows for i in row]

    min_code_size = 7
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    run = (1 << min_code_size) - 2  # table entries that fit before the code width would grow
    codes = []
    for start in range(0, len(pixels), run):
        codes.append(clear)
        codes.extend(pixels[start:start + run])
    codes.append(end)
    width_bits = min_code_size + 1
    bits, count, packed = 0, 0, bytearray()
    for code in codes:
        bits |= code << count
        count += width_bits
        while count >= 8:
            packed.append(bits & 0xFF)
            bits >>= 8
            count -= 8
    if count:
        packed.append(bits & 0xFF)
    blocks = b''.join(bytes([len(packed[i:i + 255])]) + bytes(packed[i:i + 255])
                      for i in range(0, len(packed), 255))

    screen = struct.pack('<6sHHBBB', b'GIF89a', width, height, 0x80 | 0x70 | 6, 0, 0)
    colour_table = b''.join(bytes(c) for c in table)
    control = struct.pack('<BBBBHBB', 0x21, 0xF9, 4, 0x01, 0, transparent, 0)
    descriptor = struct.pack('<BHHHHB', 0x2C, 0, 0, width, height, 0)
    return screen + colour_table + control + descriptor + bytes([min_code_size]) + blocks + b'\0;'


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


# ---------------------------------------------------------------------------------------------------------
# Motifs shared by the pictures.

INK_BLUE = (26, 62, 128)
GLOBE_LIGHT = (132, 200, 250)
GLOBE_DEEP = (22, 86, 176)
ORBIT_ORANGE = (242, 148, 38)
ORBIT_GOLD = (252, 206, 84)
HANDLE_DARK = (58, 52, 66)


def orbit_points(cx, cy, rx, ry, tilt, start, end):
    """Points of an ellipse turned by tilt degrees, for parameter angles start..end (y grows downward)."""
    c, s = math.cos(math.radians(tilt)), math.sin(math.radians(tilt))
    points = []
    for u, v in arc_points(0, 0, rx, ry, start, end):
        points.append((cx + u * c + v * s, cy - u * s + v * c))
    return points


def draw_search_globe(canvas, cx, cy, r):
    """A globe seen through a magnifying glass and circled by an orbit: the program's emblem.
    r is the outer radius of the glass's rim."""
    orbit_rx, orbit_ry, tilt = r * 1.42, r * 0.42, 18
    orbit_width = max(1.6, r * 0.13)
    orbit_paint = linear_gradient(cx - orbit_rx, cy, cx + orbit_rx, cy, ORBIT_ORANGE, ORBIT_GOLD)
    # Back half of the orbit first: the glass hides its middle.
    canvas.fill(stroke(orbit_points(cx, cy, orbit_rx, orbit_ry, tilt, 0, 180), orbit_width), orbit_paint)

    # Handle, pointing down to the right, with a metal collar where it meets the rim and a faint shine.
    d = math.sqrt(0.5)

    def along(k, shift=0.0):
        return (cx + r * k * d + shift, cy + r * k * d - shift)
    canvas.fill(stroke([along(0.9), along(1.75)], r * 0.36),
                linear_gradient(cx + r * d, cy, cx, cy + r * d, (104, 96, 116), HANDLE_DARK))
    canvas.fill(stroke([along(1.02), along(1.14)], r * 0.44),
                linear_gradient(cx + r, cy, cx, cy + r, (214, 218, 226), (120, 126, 140)))
    canvas.fill(stroke([along(1.25, -r * 0.07), along(1.65, -r * 0.07)], r * 0.08), (255, 255, 255, 0.28))

    glass_r = r * 0.84
    glass = circle(cx, cy, glass_r)
    canvas.fill(glass, radial_gradient(cx - glass_r * 0.45, cy - glass_r * 0.5, glass_r * 1.6,
                                       GLOBE_LIGHT, GLOBE_DEEP))
    g = glass_r
    land = union(ellipse(cx - g * 0.36, cy - g * 0.34, g * 0.36, g * 0.2, 18),
                 ellipse(cx - g * 0.2, cy - g * 0.06, g * 0.2, g * 0.22),
                 ellipse(cx - g * 0.08, cy + g * 0.36, g * 0.12, g * 0.3, -28),
                 ellipse(cx + g * 0.46, cy - g * 0.26, g * 0.28, g * 0.15, -12),
                 ellipse(cx + g * 0.56, cy + g * 0.12, g * 0.14, g * 0.22, 20))
    canvas.fill(land & glass, linear_gradient(cx, cy - g, cx, cy + g, (128, 204, 116), (52, 140, 82)))

    # Meridians and parallels.
    line = max(0.9, r * 0.045)
    grid = (255, 255, 255, 0.5)
    for k in (0.5, 0.87):
        meridian = (ellipse(cx, cy, g * k + line / 2, g + line / 2)
                    - ellipse(cx, cy, g * k - line / 2, g - line / 2))
        canvas.fill(meridian & glass, grid)
    canvas.fill(rect(cx - line / 2, cy - g, cx + line / 2, cy + g) & glass, grid)
    for k in (-0.5, 0.0, 0.5):
        y = cy + g * k
        canvas.fill(rect(cx - g, y - line / 2, cx + g, y + line / 2) & glass, grid)

    # Glare on the glass, upper left.
    glare = circle(cx, cy, g * 0.9) - circle(cx + g * 0.16, cy + g * 0.2, g * 0.9)
    canvas.fill(glare & circle(cx - g * 0.4, cy - g * 0.45, g * 0.62), (255, 255, 255, 0.55))

    canvas.fill(ring(cx, cy, r, glass_r - 0.2),
                linear_gradient(cx - r, cy - r, cx + r, cy + r, (236, 238, 244), (96, 102, 122)))
    canvas.fill(ring(cx, cy, r, r - max(0.8, r * 0.04)), (60, 64, 84, 0.7))
    canvas.fill(ring(cx, cy, glass_r + 0.6, glass_r - 0.3), (60, 64, 84, 0.45))

    # Front half of the orbit, then a small satellite riding on it.
    canvas.fill(stroke(orbit_points(cx, cy, orbit_rx, orbit_ry, tilt, 180, 360), orbit_width), orbit_paint)
    sx, sy = orbit_points(cx, cy, orbit_rx, orbit_ry, tilt, 150, 150)[0]
    canvas.fill(circle(sx, sy, orbit_width * 1.25), ORBIT_GOLD)
    canvas.fill(circle(sx - orbit_width * 0.3, sy - orbit_width * 0.3, orbit_width * 0.45), (255, 250, 220))


TILE_COLOURS = [((84, 150, 236), (34, 92, 190)), ((118, 206, 104), (46, 142, 70)),
                ((255, 184, 76), (222, 118, 24)), ((238, 110, 120), (184, 44, 72)),
                ((170, 128, 232), (104, 62, 180))]


def draw_plugin_tile(canvas, x, y, size, colours, symbol):
    """A small rounded tile standing for one search plugin, with a white symbol."""
    canvas.fill(rounded_rect(x, y + 0.6, x + size, y + size + 0.6, size * 0.26), (40, 40, 60, 0.22))
    canvas.fill(rounded_rect(x, y, x + size, y + size, size * 0.26),
                vertical_gradient(y, y + size, colours[0], colours[1]))
    canvas.fill(rounded_rect(x + size * 0.12, y + size * 0.08, x + size * 0.88, y + size * 0.42,
                             size * 0.16), (255, 255, 255, 0.22))
    cx, cy, s = x + size / 2.0, y + size / 2.0, size
    white = (255, 255, 255)
    if symbol == 'ring':
        canvas.fill(ring(cx, cy, s * 0.3, s * 0.16), white)
    elif symbol == 'bars':
        canvas.fill(rect(cx - s * 0.28, cy - s * 0.22, cx + s * 0.28, cy - s * 0.06), white)
        canvas.fill(rect(cx - s * 0.28, cy + s * 0.06, cx + s * 0.14, cy + s * 0.22), white)
    elif symbol == 'play':
        canvas.fill(polygon([(cx - s * 0.18, cy - s * 0.26), (cx + s * 0.26, cy),
                             (cx - s * 0.18, cy + s * 0.26)]), white)
    elif symbol == 'star':
        points = []
        for i in range(10):
            rr = s * (0.32 if i % 2 == 0 else 0.14)
            a = math.radians(90 + 36 * i)
            points.append((cx + rr * math.cos(a), cy - rr * math.sin(a)))
        canvas.fill(polygon(points), white)
    elif symbol == 'dot':
        canvas.fill(circle(cx, cy, s * 0.2), white)


# A geometric lowercase with round ends: glyphs are centre lines for stroke().

def word_strokes(text, x, baseline, x_height, cap_height, weight, gap):
    """Centre lines of the letters of text (S, e, a, r, c, h) and the end x of the word."""
    half = weight / 2.0
    ry = x_height / 2.0 - half
    rx = ry * 0.96
    cy = baseline - x_height / 2.0
    top_x = baseline - x_height + half
    strokes = []
    for ch in text:
        if ch == 'S':
            sr = (cap_height - weight) / 4.0
            srx = sr * 1.18
            cx = x + srx + half
            upper = (cx, baseline - cap_height + half + sr)
            lower = (cx, baseline - half - sr)
            path = (arc_points(upper[0], upper[1], srx, sr, 28, 270)
                    + arc_points(lower[0], lower[1], srx * 1.04, sr, 90, -152))
            strokes.append(path)
            width = 2 * srx * 1.04 + weight
        elif ch == 'e':
            cx = x + rx + half
            strokes.append([(cx - rx, cy), (cx + rx, cy)])
            strokes.append(arc_points(cx, cy, rx, ry, 0, 318))
            width = 2 * rx + weight
        elif ch == 'a':
            cx = x + rx + half
            strokes.append(arc_points(cx, cy, rx, ry, 0, 360, 48))
            strokes.append([(cx + rx, top_x), (cx + rx, baseline - half)])
            width = 2 * rx + weight
        elif ch == 'c':
            cx = x + rx + half
            strokes.append(arc_points(cx, cy, rx, ry, 48, 312))
            width = 2 * rx + weight
        elif ch == 'r':
            sx = x + half
            sr = ry * 0.95
            strokes.append([(sx, top_x), (sx, baseline - half)])
            strokes.append(arc_points(sx + sr, top_x + sr, sr, sr, 180, 72))
            width = sr * 1.35 + weight
        elif ch == 'h':
            sx = x + half
            strokes.append([(sx, baseline - cap_height + half), (sx, baseline - half)])
            strokes.append(arc_points(sx + rx, top_x + rx, rx, rx, 180, 0)
                           + [(sx + 2 * rx, baseline - half)])
            width = 2 * rx + weight
        else:
            raise ValueError('no glyph for ' + ch)
        x += width + gap
    return strokes, x - gap


PIXEL_FONT = {
    'P': ['####.', '#...#', '#...#', '####.', '#....', '#....', '#....'],
    'L': ['#....', '#....', '#....', '#....', '#....', '#....', '#####'],
    'U': ['#...#', '#...#', '#...#', '#...#', '#...#', '#...#', '.###.'],
    'G': ['.###.', '#...#', '#....', '#.###', '#...#', '#...#', '.###.'],
    'I': ['###', '.#.', '.#.', '.#.', '.#.', '.#.', '###'],
    'N': ['#...#', '##..#', '#.#.#', '#..##', '#...#', '#...#', '#...#'],
    'S': ['.###.', '#...#', '#....', '.###.', '....#', '#...#', '.###.'],
}


# ---------------------------------------------------------------------------------------------------------
# The pictures.

def draw_logo():
    """191 x 75: the emblem on the left; on the right the word Search over the word PLUGINS and a row of
    plugin tiles."""
    canvas = Canvas(191, 75)
    draw_search_globe(canvas, 38, 34, 24)

    strokes, end = word_strokes('Search', 78, 39, 18, 25, 4.3, 2.2)
    if end > canvas.width - 2:
        raise ValueError('the word runs into the edge of the logo')
    ink = vertical_gradient(14, 39, (40, 92, 172), INK_BLUE)
    for points in strokes:
        canvas.fill(stroke(points, 4.3), ink)
    canvas.draw_pixel_text(80, 50, 'PLUGINS', PIXEL_FONT, (96, 104, 120), spacing=2)
    for i, symbol in enumerate(['ring', 'bars', 'play', 'star', 'dot']):
        draw_plugin_tile(canvas, 131 + i * 11.5, 48, 10, TILE_COLOURS[i], symbol)
    return canvas


def draw_arrow(canvas, cx, cy, size, up, paint):
    """A bold arrow pointing up or down, centred on (cx, cy)."""
    s = size / 2.0
    d = -1 if up else 1
    head = polygon([(cx, cy + d * s), (cx + s * 0.95, cy + d * s * 0.05), (cx - s * 0.95, cy + d * s * 0.05)])
    tail, neck = cy - d * s, cy + d * s * 0.1
    shaft = rect(cx - s * 0.36, min(tail, neck), cx + s * 0.36, max(tail, neck))
    canvas.fill(head | shaft, paint)


def draw_card(canvas, x, y, w, h, tile_colours, symbol, selected=False):
    """One plugin of a list: a white card with the plugin's tile and two lines of grey text."""
    canvas.fill(rounded_rect(x + 0.5, y + 1.2, x + w + 0.5, y + h + 1.2, 3), (10, 30, 70, 0.3))
    border = (44, 112, 214) if selected else (168, 184, 206)
    face = vertical_gradient(y, y + h, (236, 245, 255), (206, 226, 250)) if selected else \
        vertical_gradient(y, y + h, (255, 255, 255), (236, 240, 246))
    canvas.fill(rounded_rect(x, y, x + w, y + h, 3), border)
    canvas.fill(rounded_rect(x + 1, y + 1, x + w - 1, y + h - 1, 2.2), face)
    tile = h - 8
    draw_plugin_tile(canvas, x + 4, y + 4, tile, tile_colours, symbol)
    text_x = x + 4 + tile + 4
    ink = (70, 96, 140) if selected else (118, 128, 146)
    canvas.fill(rounded_rect(text_x, y + 5, x + w - 5, y + 8, 1.5), ink)
    canvas.fill(rounded_rect(text_x, y + 11, x + w - 12, y + 13.4, 1.2), (ink[0], ink[1], ink[2], 0.5))


def draw_info():
    """68 x 227: the emblem on a sky gradient above a list of plugin cards, one of them being moved."""
    canvas = Canvas(68, 227, (255, 255, 255))
    sky = vertical_gradient(0, 227, (18, 56, 128), (46, 112, 196), (150, 198, 240), (226, 240, 252))
    canvas.fill(rect(0, 0, 68, 227), sky)
    # Faint rings behind the emblem.
    for radius, alpha in ((30, 0.08), (24, 0.1)):
        canvas.fill(circle(32, 36, radius), (255, 255, 255, alpha))
    draw_search_globe(canvas, 32, 35, 19)

    symbols = ['ring', 'bars', 'play', 'star', 'dot']
    top = 84
    for i, symbol in enumerate(symbols):
        y = top + i * 27
        selected = i == 2
        x = 8 if selected else 5
        draw_card(canvas, x, y, 46, 22, TILE_COLOURS[i], symbol, selected)
    arrow = vertical_gradient(top + 40, top + 100, (255, 214, 110), (232, 128, 24))
    draw_arrow(canvas, 61, top + 2 * 27 - 4, 13, True, arrow)
    draw_arrow(canvas, 61, top + 2 * 27 + 27, 13, False, arrow)
    return canvas


def draw_magnifier(canvas, cx, cy, r, handle_length, rim):
    """A plain magnifying glass with a light glass, its handle pointing down to the right."""
    d = math.sqrt(0.5)
    end = (r + handle_length) * d
    canvas.fill(stroke([(cx + r * d, cy + r * d), (cx + end, cy + end)], rim * 1.7),
                linear_gradient(cx + r, cy, cx, cy + r, (112, 100, 120), HANDLE_DARK))
    canvas.fill(circle(cx, cy, r), (214, 236, 255, 0.72))
    canvas.fill(circle(cx, cy, r) - circle(cx + r * 0.22, cy + r * 0.26, r * 0.95), (255, 255, 255, 0.8))
    canvas.fill(ring(cx, cy, r + rim / 2, r - rim / 2),
                linear_gradient(cx - r, cy - r, cx + r, cy + r, (120, 128, 150), (44, 48, 66)))


# At 16 pixels shapes blur, so the small icon is drawn pixel by pixel: the list with its selected row, a
# two-headed arrow and the magnifying glass.
SMALL_ICON_LIST = [
    'kkkkkkkkkkk..G..',
    'kwwwwwwwwwk.GGG.',
    'kwbbwllllwkGGGGG',
    'kwbbwwwwwwk..H..',
    'kwwwwwwwwwk..H..',
    'kBBBBBBBBBk..H..',
    'kBooBWWWWBk..H..',
    'kBooBBBBBBkDDDDD',
    'kBBBBBBBBBk.DDD.',
    'kwwwwwwwwwk..D..',
    'kweewllllwk.....',
    'kweewwwwwwk.....',
    'kwwwwwwwwwk.....',
    'kwrrwllllwk.....',
    'kwrrwwwwwwk.....',
    'kkkkkkkkkkk.....',
]
SMALL_ICON_GLASS = [
    '................',
    '................',
    '................',
    '................',
    '................',
    '................',
    '................',
    '.......mmm......',
    '......msccm.....',
    '.....msccccm....',
    '.....mcccccm....',
    '.....mcccccm....',
    '......mcccmhh...',
    '.......mmmhhhh..',
    '...........hhhh.',
    '............hhh.',
]
SMALL_ICON_LEGEND = {
    'k': (112, 128, 156), 'w': (255, 255, 255), 'l': (140, 150, 168),
    'B': (52, 122, 220), 'W': (255, 255, 255),
    'b': (50, 110, 214), 'o': (240, 146, 36), 'e': (56, 160, 76), 'r': (212, 62, 86),
    'G': (108, 204, 92), 'H': (70, 170, 74), 'D': (40, 140, 62),
    'm': (52, 56, 76), 'c': (214, 236, 255, 0.6), 's': (255, 255, 255, 0.9), 'h': (92, 78, 100),
}


def draw_icon(size):
    """The program icon: a list of plugins, arrows that reorder it and a magnifying glass over it."""
    canvas = Canvas(size, size)
    u = size / 48.0
    if size < 32:
        canvas.draw_pixel_map(0, 0, SMALL_ICON_LIST, SMALL_ICON_LEGEND)
        canvas.draw_pixel_map(0, 0, SMALL_ICON_GLASS, SMALL_ICON_LEGEND)
        return canvas
    rows = 4
    x0, y0, x1, y1 = 3 * u, 3 * u, 34 * u, 45 * u
    corner = max(1.2, 3 * u)
    canvas.fill(rounded_rect(x0 + u, y0 + 1.5 * u, x1 + u, y1 + 1.5 * u, corner), (20, 30, 60, 0.3))
    canvas.fill(rounded_rect(x0, y0, x1, y1, corner), (112, 128, 156))
    edge = max(1.0, u)
    canvas.fill(rounded_rect(x0 + edge, y0 + edge, x1 - edge, y1 - edge, max(0.6, corner - edge)),
                vertical_gradient(y0, y1, (255, 255, 255), (228, 234, 244)))
    pitch = (y1 - y0 - 2 * edge) / rows
    for i in range(rows):
        ry0 = y0 + edge + i * pitch
        selected = i == 1
        if selected:
            canvas.fill(rect(x0 + edge, ry0, x1 - edge, ry0 + pitch),
                        vertical_gradient(ry0, ry0 + pitch, (86, 156, 240), (40, 104, 206)))
        tile = round(pitch * 0.55)
        tx = x0 + edge + max(1, round(pitch * 0.25))
        ty = round(ry0 + (pitch - tile) / 2)
        colours = TILE_COLOURS[[0, 2, 1, 3][i]]
        canvas.fill(rect(tx, ty, tx + tile, ty + tile), vertical_gradient(ty, ty + tile, *colours))
        line_h = max(1, round(pitch * 0.22))
        ly = round(ry0 + (pitch - line_h) / 2)
        canvas.fill(rect(tx + tile + max(1, round(2 * u)), ly, x1 - edge - max(1, round(3 * u)), ly + line_h),
                    (255, 255, 255) if selected else (132, 142, 160))
    arrow = vertical_gradient(0, size * 0.7, (120, 214, 96), (36, 140, 60))
    draw_arrow(canvas, 41.5 * u, 10 * u, 11 * u, True, arrow)
    draw_arrow(canvas, 41.5 * u, 22 * u, 11 * u, False, arrow)
    draw_magnifier(canvas, 27 * u, 33 * u, 8.5 * u, 9 * u, 3.2 * u)
    return canvas


# The link pointer: a hand pointing up, black outline on white, the hot spot at the tip of the finger.
HAND_CURSOR = [
    '.....###..............',
    '....#ooo#.............',
    '....#ooo#.............',
    '....#ooo#.............',
    '....#ooo#.............',
    '....#ooo#.............',
    '....#ooo####..........',
    '....#ooo#ooo####......',
    '....#ooo#ooo#ooo#.....',
    '....#ooo#ooo#ooo####..',
    '.##.#ooo#ooo#ooo#ooo#.',
    '#oo##ooo#ooo#ooo#ooo#.',
    '#ooo#ooooooooooooooo#.',
    '.#oooooooooooooooooo#.',
    '..#ooooooooooooooooo#.',
    '..#ooooooooooooooooo#.',
    '...#oooooooooooooooo#.',
    '....#oooooooooooooo#..',
    '.....#oooooooooooo#...',
    '.....#oooooooooooo#...',
    '.....##############...',
    '.....#oooooooooooo#...',
    '.....##############...',
]
HAND_HOTSPOT = (6, 0)


def keyed_rows(canvas, key, blend_to, threshold=0.2):
    """Rows of (r, g, b): the key colour where nothing was drawn, partial pixels blended toward blend_to."""
    rows = []
    for y in range(canvas.height):
        row = []
        for x in range(canvas.width):
            r, g, b, a = canvas.pixels[y * canvas.width + x]
            if a < threshold:
                row.append(key)
            else:
                row.append(tuple(to_byte(c * a + bg * (1.0 - a)) for c, bg in zip((r, g, b), blend_to)))
        rows.append(row)
    return rows


def main():
    palette, index_rows = palettize(keyed_rows(draw_logo(), KEY_COLOUR, BUTTON_FACE), KEY_COLOUR)
    write('logo.bmp', bmp_8bit(palette, index_rows))

    write('hand.cur', monochrome_cursor(HAND_CURSOR, HAND_HOTSPOT))
    write('quorrel.ico', ico_file([(s, s, icon_image_32bit(draw_icon(s).rgba_rows())) for s in (16, 32, 48)]))

    palette, index_rows = palettize(draw_info().flattened_rows((255, 255, 255)))
    write('info.bmp', bmp_8bit(palette, index_rows))


if __name__ == '__main__':
    main()
