#!/usr/bin/env python3
"""Draws the 16 x 16 images of the demo plugins into demo/searchplugins/.

Each image sits beside the plugin file of the same base name, as the browser keeps them; the formats vary
(PNG, GIF, ICO) as they do in real plugin folders. The shapes and file writers come from
resources/draw_resources.py, which needs Pillow (Debian package python3-pil).
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'resources'))
sys.dont_write_bytecode = True  # leave no cache folder in resources/

from draw_resources import (WHITE, Canvas, circle, gif_picture, icon_32bit,  # noqa: E402
                            linear_gradient, polygon, rect, ring, rounded_rect, stroke, vertical_gradient)

PLUGIN_FOLDER = os.path.join(HERE, 'searchplugins')


def page(canvas, x0, y0, x1, y1, paper=(250, 250, 246), edge=(120, 128, 140)):
    canvas.fill(rounded_rect(x0, y0, x1, y1, 1.2), edge)
    canvas.fill(rounded_rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 0.6), paper)


def draw_wiki(c):
    """An open book."""
    c.fill(polygon([(0.5, 3), (7.5, 4.5), (7.5, 14.5), (0.5, 13)]), (70, 90, 130))
    c.fill(polygon([(15.5, 3), (8.5, 4.5), (8.5, 14.5), (15.5, 13)]), (70, 90, 130))
    c.fill(polygon([(1.5, 2), (7.6, 3.4), (7.6, 13.2), (1.5, 11.8)]), (252, 252, 248))
    c.fill(polygon([(14.5, 2), (8.4, 3.4), (8.4, 13.2), (14.5, 11.8)]), (236, 238, 240))
    for y in (5, 7, 9):
        c.fill(stroke([(2.8, y), (6.4, y + 0.8)], 0.9), (120, 130, 150))
        c.fill(stroke([(9.6, y + 0.8), (13.2, y)], 0.9), (120, 130, 150))


def draw_maps(c):
    """A folded map with a red pin."""
    c.fill(polygon([(0.5, 4), (5, 2.5), (11, 4), (15.5, 2.5), (15.5, 13.5), (11, 15), (5, 13.5), (0.5, 15)]),
           (96, 150, 96))
    c.fill(polygon([(1.5, 4.7), (5, 3.6), (5, 12.6), (1.5, 13.7)]), (196, 226, 170))
    c.fill(polygon([(5, 3.6), (11, 5), (11, 14), (5, 12.6)]), (222, 240, 200))
    c.fill(polygon([(11, 5), (14.5, 3.7), (14.5, 12.7), (11, 14)]), (196, 226, 170))
    c.fill(stroke([(2, 11), (6, 8), (9, 10), (14, 6)], 1.0), (240, 200, 90))
    c.fill(circle(9, 5, 3.4) | polygon([(6.2, 6.6), (11.8, 6.6), (9, 11.5)]),
           linear_gradient(6, 2, 12, 10, (250, 96, 84), (180, 30, 40)))
    c.fill(circle(9, 5, 1.3), WHITE)


def draw_weather(c):
    """A sun half behind a cloud."""
    for i in range(8):
        a = math.radians(i * 45)
        c.fill(stroke([(6 + 4.3 * math.cos(a), 6 + 4.3 * math.sin(a)),
                       (6 + 5.6 * math.cos(a), 6 + 5.6 * math.sin(a))], 1.2), (245, 170, 30))
    c.fill(circle(6, 6, 3.4), linear_gradient(3, 3, 9, 9, (255, 226, 90), (245, 160, 20)))
    cloud = circle(7, 11.5, 3) | circle(10.5, 9.5, 3.8) | circle(13.2, 12, 2.5) | rect(7, 11, 13.5, 14.5)
    c.fill(cloud, (110, 130, 160))
    c.fill(circle(7, 11.5, 2.2) | circle(10.5, 9.5, 3) | circle(13.2, 12, 1.7) | rect(7, 11, 13.5, 13.7),
           vertical_gradient(6, 15, WHITE, (214, 224, 238)))


def draw_recipes(c):
    """A cooking pot with steam."""
    for x in (5.5, 8, 10.5):
        c.fill(stroke([(x, 5), (x - 0.8, 3.5), (x + 0.4, 2), (x - 0.4, 0.8)], 0.9), (150, 160, 176))
    c.fill(rect(0.5, 7.5, 15.5, 9), (90, 60, 50))
    c.fill(rounded_rect(2, 7, 14, 15, 2), linear_gradient(2, 0, 14, 0, (232, 92, 60), (170, 40, 30)))
    c.fill(rect(1.5, 6, 14.5, 7.6), (120, 50, 40))
    c.fill(rect(3.5, 9, 5, 13), (255, 255, 255, 0.35))


def draw_library(c):
    """Three books on a shelf."""
    books = [(1, 3, 4.5, (70, 110, 190)), (4.8, 1.5, 8.5, (200, 70, 60)), (8.8, 4, 11.5, (80, 160, 90))]
    for x0, top, x1, colour in books:
        c.fill(rect(x0, top, x1, 14), colour)
        c.fill(rect(x0, top + 1.5, x1, top + 2.5), (255, 236, 170))
        c.fill(rect(x0, 11.5, x1, 12.5), (255, 236, 170))
    c.fill(polygon([(11.8, 4.5), (14, 3.6), (16, 13.5), (13.8, 14.4)]), (150, 110, 70))
    c.fill(rect(0, 14, 16, 16), (110, 80, 60))


def draw_code(c):
    """Angle brackets and a slash on a dark tile."""
    c.fill(rounded_rect(0, 1, 16, 15, 2.5), vertical_gradient(1, 15, (60, 66, 84), (28, 30, 40)))
    green = (120, 230, 140)
    c.fill(stroke([(5, 4.5), (2, 8), (5, 11.5)], 1.5), green)
    c.fill(stroke([(11, 4.5), (14, 8), (11, 11.5)], 1.5), green)
    c.fill(stroke([(9.2, 3.8), (6.8, 12.2)], 1.3), (230, 236, 244))


def draw_movies(c):
    """A clapperboard."""
    c.fill(rect(1, 6, 15, 15), (40, 40, 48))
    c.fill(rect(2, 8, 14, 14), (70, 72, 84))
    arm = polygon([(0.5, 5.5), (14.5, 1.5), (15.3, 4.2), (1.3, 8.2)])
    c.fill(arm, (40, 40, 48))
    for i in range(4):
        x = 2.5 + i * 3.3
        c.fill(polygon([(x, 5.4), (x + 1.6, 4.9), (x + 2.8, 3.2), (x + 1.2, 3.7)]) & arm, WHITE)
    c.fill(rect(3, 10, 9, 11), (200, 204, 214))
    c.fill(rect(3, 12, 12, 13), (200, 204, 214))


def draw_dictionary(c):
    """A thick closed book with a bookmark ribbon."""
    c.fill(rounded_rect(2, 1, 14, 15, 1.5), (120, 30, 40))
    c.fill(rect(3, 13, 14, 14.5), (244, 238, 220))
    c.fill(rounded_rect(4, 1, 14, 13, 1), linear_gradient(4, 1, 14, 13, (220, 70, 70), (150, 30, 40)))
    c.fill(rect(6, 4, 12, 8), (250, 220, 140))
    c.fill(rect(7, 5.2, 11, 6.2), (150, 30, 40))
    c.fill(polygon([(10, 13), (12, 13), (12, 16), (11, 15), (10, 16)]), (240, 190, 60))


def draw_news(c):
    """A newspaper with a headline and columns."""
    page(c, 1, 1, 15, 15)
    c.fill(rect(3, 3, 13, 5), (40, 48, 64))
    c.fill(rect(3, 7, 7, 11), (120, 160, 210))
    for y in (7, 9, 11, 13):
        c.fill(rect(8, y, 13, y + 1), (140, 146, 160))
    c.fill(rect(3, 13, 7, 14), (140, 146, 160))


def draw_shopping(c):
    """A shopping bag."""
    c.fill(ring(8, 5.5, 3.6, 2.4) & rect(0, 0, 16, 5.5), (120, 60, 20))
    c.fill(polygon([(2, 5), (14, 5), (15, 15.5), (1, 15.5)]),
           linear_gradient(2, 5, 14, 15, (255, 180, 70), (224, 110, 20)))
    c.fill(circle(5.5, 7.5, 0.9) | circle(10.5, 7.5, 0.9), (120, 60, 20))
    c.fill(rect(2.5, 13, 13.5, 14), (255, 255, 255, 0.35))


def draw_reference(c):
    """A note card with a lightning bolt: quick answers."""
    page(c, 1, 1, 13, 15, paper=(255, 250, 210), edge=(170, 150, 80))
    for y in (4, 6.5, 9):
        c.fill(rect(3, y, 8, y + 1), (190, 176, 120))
    c.fill(polygon([(11, 5), (15.5, 5), (13.2, 9), (15.6, 9), (9.6, 15.8), (11.6, 10.4), (9.2, 10.4)]),
           (255, 190, 20))


# Base name of the plugin, its drawing and the image format beside it.
IMAGES = [
    ('wiki', draw_wiki, 'png'),
    ('maps', draw_maps, 'png'),
    ('weather', draw_weather, 'gif'),
    ('recipes', draw_recipes, 'png'),
    ('library', draw_library, 'png'),
    ('code', draw_code, 'ico'),
    ('movies', draw_movies, 'gif'),
    ('dictionary', draw_dictionary, 'png'),
    ('news', draw_news, 'png'),
    ('shopping', draw_shopping, 'png'),
    ('reference', draw_reference, 'png'),
]


def write_image(picture, kind, path):
    if kind == 'gif':
        gif_picture(picture).save(path, transparency=0)
    elif kind == 'ico':
        with open(path, 'wb') as f:
            f.write(icon_32bit([picture]))
    else:
        picture.save(path)


def main():
    for base, draw, kind in IMAGES:
        canvas = Canvas(16, 16)
        draw(canvas)
        write_image(canvas.image, kind, os.path.join(PLUGIN_FOLDER, base + '.' + kind))


if __name__ == '__main__':
    main()
