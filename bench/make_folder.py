#!/usr/bin/env python3
"""Writes a plugin folder for the benchmarks: N plugin files (0.5 to 2 KB each, with update
attributes, a mix of LF and CRLF line ends) and a 16x16 PNG beside each one.

The same count always gives the same bytes, so runs on different days compare.

usage: make_folder.py FOLDER COUNT
"""
import random
import struct
import sys
import zlib
from pathlib import Path

WORDS = ("atlas", "beacon", "cedar", "delta", "ember", "fjord", "grove", "harbor", "iris",
         "juniper", "kestrel", "lumen", "meadow", "nimbus", "orchid", "pioneer", "quarry",
         "raven", "summit", "tundra", "umbra", "vertex", "willow", "xenon", "yarrow", "zephyr")
TOPICS = ("Books", "Maps", "News", "Recipes", "Weather", "Dictionary", "Music", "Code",
          "Shops", "Movies", "Papers", "Images", "Travel", "Jobs", "Sports", "Games")
# Spellings of the update keys that the program brings to lower case.
UPDATE_ICON_KEYS = ("updateIcon", "updateicon", "UpdateIcon")
CHECK_DAYS_KEYS = ("updateCheckDays", "updatecheckdays", "UpdateCheckDays")


def tiny_png() -> bytes:
    """A 16x16 RGBA picture: a blue disc on a transparent ground."""
    rows = []
    for y in range(16):
        row = bytearray([0])  # filter type: none
        for x in range(16):
            inside = (x - 7.5) ** 2 + (y - 7.5) ** 2 <= 49
            row += bytes((40, 90, 200, 255)) if inside else bytes((0, 0, 0, 0))
        rows.append(bytes(row))

    def chunk(kind: bytes, data: bytes) -> bytes:
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", 16, 16, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def plugin_text(rng: random.Random, index: int, base: str) -> str:
    word = WORDS[index % len(WORDS)].capitalize()
    topic = TOPICS[rng.randrange(len(TOPICS))]
    name = f"{word} {topic} {index:04d}"
    host = f"{base}.example.net"
    lines = [
        f"# {name}: a search plugin written for the Quorrel benchmarks.",
        "",
        "<search",
        '   version="7.1"',
        f'   name="{name}"',
        f'   description="Search {topic.lower()} on {host}"',
        f'   action="https://{host}/search"',
        f'   searchForm="https://{host}/"',
        '   method="GET"',
        ">",
        "",
        '<input name="q" user>',
        f'<input name="sourceid" value="quorrel-bench-{index}">',
    ]
    target = rng.randint(500, 2000)
    extra = 0
    while sum(len(line) + 1 for line in lines) + 260 < target:
        lines.append(f'<input name="p{extra}" value="{rng.choice(WORDS)}-{rng.randrange(100000)}">')
        extra += 1
    lines += [
        "",
        "</search>",
        "",
        "<browser",
        f'   update="https://plugins.{host}/{base}.src"',
        f'   {rng.choice(UPDATE_ICON_KEYS)}="https://plugins.{host}/{base}.png"',
        f'   {rng.choice(CHECK_DAYS_KEYS)}="{rng.choice((1, 3, 7, 14, 30))}"',
        ">",
        "",
    ]
    return "\n".join(lines)


def main() -> int:
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    folder, count = Path(sys.argv[1]), int(sys.argv[2])
    folder.mkdir(parents=True, exist_ok=True)
    if any(folder.iterdir()):
        print(f"{folder} is not empty", file=sys.stderr)
        return 1
    rng = random.Random(count)
    png = tiny_png()
    for index in range(count):
        base = f"{WORDS[rng.randrange(len(WORDS))]}-{index:05d}"
        text = plugin_text(rng, index, base)
        newline = "\r\n" if rng.random() < 0.6 else "\n"
        (folder / f"{base}.src").write_bytes(text.replace("\n", newline).encode("cp1252"))
        (folder / f"{base}.png").write_bytes(png)
    return 0


if __name__ == "__main__":
    sys.exit(main())
