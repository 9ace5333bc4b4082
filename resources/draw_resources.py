#!/usr/bin/env python3
"""Draws Quorrel's resources and writes them beside this script.

    logo.bmp     bitmap "FIREFOX": 191 x 75, 8 bits per pixel, keyed background for transparent drawing
    info.bmp     bitmap "INFO": 68 x 227, 8 bits per pixel, the side picture of the information window
    quorrel.ico  icon "KELVAR": 16, 32 and 48 pixels, 32-bit with alpha and AND masks
    hand.cur     cursor "DRUCKER": 32 x 32 monochrome pointing hand, hot spot at the fingertip

Every picture is built from the simple shapes below; Pillow (Debian package python3-pil) draws them,
blends them and writes the image files, so running the script again reproduces the files. The build
does not run this script, the generated files are kept in the repository. demo/draw_demo_images.py
imports the shape and file-format helpers from here.
"""

import io
import math
import os
import struct

from PIL import Image, ImageChops, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))

# The logo is drawn with the colour of its corner pixel left out. Magenta never occurs in the picture, and
# edge pixels are blended toward the window's button-face grey so that no coloured fringe shows.
KEY_COLOUR = (255, 0, 255)
BUTTON_FACE = (240, 240, 240)
WHITE = (255, 255, 255)

# LoadImage with LR_LOADMAP3DCOLORS replaces these exact greys of a palette by the current 3-D colours.
MAPPED_3D_GREYS = {(128, 128, 128), (192, 192, 192), (223, 223, 223)}

# Shapes are drawn this many times larger and averaged back down, which smooths their edges.
SUPERSAMPLING = 8


# ---------------------------------------------------------------------------------------------------------
# Shapes, in pixel coordinates (pixel (x, y) covers [x, x+1) x [y, y+1)). A shape renders itself as a mask
# (255 inside) on a picture k times the canvas size; &, | and - combine masks.

class Shape:
    def __init__(self, render):
        self.render = render  # (mask size, k) -> mode "L" image

    def __and__(self, other):
        return Shape(lambda size, k: ImageChops.darker(self.render(size, k), other.render(size, k)))

    def __or__(self, other):
        return Shape(lambda size, k: ImageChops.lighter(self.render(size, k), other.render(size, k)))

    def __sub__(self, other):
        return Shape(lambda size, k: ImageChops.subtract(self.render(size, k), other.render(size, k)))


def drawn(draw):
    """A shape that draw(pen, k) paints in white on its mask."""
    def render(size, k):
        mask = Image.new('L', size)
        draw(ImageDraw.Draw(mask), k)
        return mask
    return Shape(render)


def pen_points(points, k):
    """Points on a mask k times larger, in the pen's coordinates, whose integers are pixel centres."""
    return [(x * k - 0.5, y * k - 0.5) for x, y in points]


def boxed(draw, x0, y0, x1, y1):
    """A shape that draw(pen, box, k) paints into box: the first and last mask pixels (Pillow's boxes
    include both) whose centres lie in [x0, x1) x [y0, y1). Where no centre lies inside, nothing is drawn."""
    def render(pen, k):
        left, top, right, bottom = (math.ceil(v * k - 0.5) for v in (x0, y0, x1, y1))
        if right > left and bottom > top:
            draw(pen, (left, top, right - 1, bottom - 1), k)
    return drawn(render)


def union(*shapes):
    result = shapes[0]
    for shape in shapes[1:]:
        result = result | shape
    return result


def circle(cx, cy, r):
    return boxed(lambda pen, box, k: pen.ellipse(box, fill=255), cx - r, cy - r, cx + r, cy + r)


def ring(cx, cy, r_outer, r_inner):
    return circle(cx, cy, r_outer) - circle(cx, cy, r_inner)


def ellipse(cx, cy, rx, ry, angle=0.0):
    """Filled ellipse turned by angle degrees (counter-clockwise on screen)."""
    return polygon(ellipse_points(cx, cy, rx, ry, angle, 0, 360))


def rect(x0, y0, x1, y1):
    return boxed(lambda pen, box, k: pen.rectangle(box, fill=255), x0, y0, x1, y1)


def rounded_rect(x0, y0, x1, y1, radius):
    return boxed(lambda pen, box, k: pen.rounded_rectangle(box, radius * k, fill=255), x0, y0, x1, y1)


def polygon(points):
    return drawn(lambda pen, k: pen.polygon(pen_points(points, k), fill=255))


def stroke(points, width):
    """A polyline of the given width with round ends and joins."""
    line = drawn(lambda pen, k: pen.line(pen_points(points, k), fill=255, width=max(1, round(width * k)),
                                         joint='curve'))
    return line | circle(*points[0], width / 2) | circle(*points[-1], width / 2)


def arc_points(cx, cy, rx, ry, start, end, steps=None):
    """Points of an elliptic arc; angles in degrees, counter-clockwise on screen (y grows downward)."""
    if steps is None:
        steps = max(4, int(abs(end - start) / 8))
    points = []
    for i in range(steps + 1):
        a = math.radians(start + (end - start) * i / steps)
        points.append((cx + rx * math.cos(a), cy - ry * math.sin(a)))
    return points


def ellipse_points(cx, cy, rx, ry, tilt, start, end):
    """Points of an ellipse turned by tilt degrees, for parameter angles start..end (y grows downward)."""
    c, s = math.cos(math.radians(tilt)), math.sin(math.radians(tilt))
    return [(cx + u * c + v * s, cy - u * s + v * c) for u, v in arc_points(0, 0, rx, ry, start, end)]


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


def rgba(colour):
    """A colour as Pillow's (r, g, b, a) bytes."""
    alpha = colour[3] if len(colour) > 3 else 1.0
    return tuple(round(c) for c in colour[:3]) + (round(alpha * 255),)


# ---------------------------------------------------------------------------------------------------------
# Canvas: an RGBA picture, each fill composited over it.

class Canvas:
    def __init__(self, width, height, background=None):
        self.width = width
        self.height = height
        self.image = Image.new('RGBA', (width, height), rgba(background) if background else (0, 0, 0, 0))

    def fill(self, shape, paint, opacity=1.0):
        k = SUPERSAMPLING
        mask = shape.render((self.width * k, self.height * k), k)
        coverage = mask.resize(self.image.size, Image.Resampling.BOX)  # the share of each pixel covered
        box = coverage.getbbox()
        if box:
            layer = self.painted(paint, box)
            alpha = ImageChops.multiply(layer.getchannel('A'), coverage)
            layer.putalpha(alpha.point(lambda a: round(a * opacity)))
            self.image.alpha_composite(layer)

    def painted(self, paint, box):
        """The paint as a picture of the canvas's size, computed at the pixel centres inside box."""
        if not callable(paint):
            return Image.new('RGBA', self.image.size, rgba(paint))
        x0, y0, x1, y1 = box
        patch = Image.new('RGBA', (x1 - x0, y1 - y0))
        patch.putdata([rgba(paint(x + 0.5, y + 0.5)) for y in range(y0, y1) for x in range(x0, x1)])
        layer = Image.new('RGBA', self.image.size)
        layer.paste(patch, box[:2])
        return layer

    def draw_pixel_map(self, x, y, rows, legend):
        """Pixel art: rows of characters, each a key of legend (colour with optional alpha) or empty."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in legend:
                    self.image.alpha_composite(Image.new('RGBA', (1, 1), rgba(legend[ch])), (x + dx, y + dy))

    def draw_pixel_text(self, x, y, text, font, colour, spacing=1):
        """Crisp text from a bitmap font: a dict of character -> rows of '#' and '.'."""
        for ch in text:
            self.draw_pixel_map(x, y, font[ch], {'#': colour})
            x += len(font[ch][0]) + spacing


# ---------------------------------------------------------------------------------------------------------
# From the RGBA canvas to files.

def over(picture, matte):
    """The RGB picture of an RGBA one composited over an opaque colour."""
    result = Image.new('RGBA', picture.size, rgba(matte))
    result.alpha_composite(picture)
    return result.convert('RGB')


def transparent(picture, threshold=128):
    """A mode "1" mask, white where the RGBA picture's alpha (0..255) is below threshold."""
    return picture.getchannel('A').point(lambda a: 255 if a < threshold else 0, '1')


def keyed(picture, key, matte, threshold):
    """The picture over matte, with the key colour wherever its alpha (0..255) is below threshold."""
    result = over(picture, matte)
    result.paste(key, mask=transparent(picture, threshold))
    return result


def safe_palette_colour(colour, key):
    """Moves a colour off the key colour and off the greys that LR_LOADMAP3DCOLORS would replace."""
    while colour in MAPPED_3D_GREYS or colour == key:
        colour = (colour[0], colour[1], colour[2] + 1 if colour[2] < 255 else colour[2] - 1)
    return colour


def palettized(picture, key=None, limit=256):
    """The RGB picture with a palette of at most limit colours (Pillow's median cut). The key colour, when
    given, is entry 0 and stands exactly where it stood: only the other pixels are reduced."""
    pixels = list(picture.getdata())
    drawn_pixels = [p for p in pixels if p != key]
    sample = Image.new('RGB', (len(drawn_pixels), 1))
    sample.putdata(drawn_pixels)
    first = 1 if key else 0
    reduced = sample.quantize(limit - first)
    colours = reduced.getpalette()[:3 * (limit - first)]
    palette = ([key] if key else []) + [safe_palette_colour(tuple(colours[i:i + 3]), key)
                                        for i in range(0, len(colours), 3)]
    indices = iter(reduced.getdata())
    result = Image.new('P', picture.size)
    result.putpalette([c for colour in palette for c in colour])
    result.putdata([0 if p == key else next(indices) + first for p in pixels])
    return result


def dib(picture):
    """Pillow's device-independent bitmap of a picture: header, palette, bottom-up rows padded to 4 bytes."""
    out = io.BytesIO()
    picture.save(out, 'DIB')
    return out.getvalue()


def icon_image(picture, mask):
    """One image of an icon or cursor file: the picture's DIB with its height doubled, followed by the AND
    mask, the rows of mask (mode "1", white where the screen shows through)."""
    colour = dib(picture)
    return colour[:8] + struct.pack('<i', 2 * picture.height) + colour[12:] + dib(mask)[40 + 8:]


def icon_file(images, hotspot=None):
    """An icon file of images made by icon_image or, given a hot spot, a cursor file of one image. Pillow
    writes no cursors, and its icon images lack the AND mask of 32-bit pictures, so the directory is
    written here: per image its size, colour count and, for an icon, planes and bits per pixel, for a
    cursor the hot spot instead."""
    data = struct.pack('<HHH', 0, 1 if hotspot is None else 2, len(images))
    offset = 6 + 16 * len(images)
    for image in images:
        width, double_height, planes, bits = struct.unpack_from('<iiHH', image, 4)
        colours = struct.unpack_from('<I', image, 32)[0]
        data += struct.pack('<BBBBHHII', width % 256, double_height // 2 % 256, colours, 0,
                            *(hotspot or (planes, bits)), len(image), offset)
        offset += len(image)
    return data + b''.join(images)


def icon_32bit(pictures):
    """An icon file of RGBA pictures, pixels less than half opaque masked out."""
    return icon_file([icon_image(p, transparent(p)) for p in pictures])


def monochrome_cursor(art, hotspot):
    """A .cur file from rows of '.' (transparent), '#' (black) and 'o' (white), any size up to 32 x 32,
    placed at the top left of a 32 x 32 image."""
    cells = ''.join(row.ljust(32, '.') for row in art).ljust(32 * 32, '.')

    def bitmap(ch):
        picture = Image.new('1', (32, 32))
        picture.putdata([255 if c == ch else 0 for c in cells])
        return picture
    return icon_file([icon_image(bitmap('o'), bitmap('.'))], hotspot)


def gif_picture(picture, matte=WHITE):
    """A GIF-ready picture of 128 colours whose entry 0 is transparent; pixels at least half opaque are
    composited over matte. Save it with transparency=0."""
    return palettized(keyed(picture, KEY_COLOUR, matte, 128), KEY_COLOUR, 128)


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


# Motifs shared by the pictures.

INK_BLUE = (26, 62, 128)
GLOBE_LIGHT = (132, 200, 250)
GLOBE_DEEP = (22, 86, 176)
ORBIT_ORANGE = (242, 148, 38)
ORBIT_GOLD = (252, 206, 84)
HANDLE_DARK = (58, 52, 66)


def draw_search_globe(canvas, cx, cy, r):
    """A globe seen through a magnifying glass and circled by an orbit: the program's emblem.
    r is the outer radius of the glass's rim."""
    orbit_rx, orbit_ry, tilt = r * 1.42, r * 0.42, 18
    orbit_width = max(1.6, r * 0.13)
    orbit_paint = linear_gradient(cx - orbit_rx, cy, cx + orbit_rx, cy, ORBIT_ORANGE, ORBIT_GOLD)
    # Back half of the orbit first: the glass hides its middle.
    canvas.fill(stroke(ellipse_points(cx, cy, orbit_rx, orbit_ry, tilt, 0, 180), orbit_width), orbit_paint)

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
    canvas.fill(stroke(ellipse_points(cx, cy, orbit_rx, orbit_ry, tilt, 180, 360), orbit_width), orbit_paint)
    sx, sy = ellipse_points(cx, cy, orbit_rx, orbit_ry, tilt, 150, 150)[0]
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


def main():
    logo = keyed(draw_logo().image, KEY_COLOUR, BUTTON_FACE, round(0.2 * 255))
    palettized(logo, KEY_COLOUR).save(os.path.join(HERE, 'logo.bmp'))
    palettized(over(draw_info().image, WHITE)).save(os.path.join(HERE, 'info.bmp'))
    write('quorrel.ico', icon_32bit([draw_icon(s).image for s in (16, 32, 48)]))
    write('hand.cur', monochrome_cursor(HAND_CURSOR, HAND_HOTSPOT))


if __name__ == '__main__':
    main()
