#!/usr/bin/env python3
"""Writes the corpus of odd and hostile plugin files into tests/data/plugins/.

Every byte matters here (line ends, NUL bytes, Windows-1252 text, exact file sizes), so the
files are built as bytes and written unchanged. The output is deterministic: running the
script again gives the same files. Usage: make_corpus.py [output folder].
"""

import struct
import sys
import zlib
from pathlib import Path

CRLF = b"\r\n"
LF = b"\n"
CR = b"\r"

SITE = b"https://search.example.org"


# ---------------------------------------------------------------------------
# Plugin texts

def lines_to_bytes(lines, eol=CRLF):
    """Joins the lines, each followed by eol (a list of eols is used line by line)."""
    if isinstance(eol, bytes):
        eol = [eol] * len(lines)
    assert len(eol) == len(lines)
    return b"".join(line + end for line, end in zip(lines, eol))


def plugin_lines(comment, name_line, inputs=True, browser=None, description=b"Test search"):
    """The lines of an ordinary plugin; name_line is the search element's name attribute."""
    lines = [
        b"# " + comment,
        b"",
        b"<search",
        b'   version="7.1"',
        b"   " + name_line,
        b'   description="' + description + b'"',
        b'   action="' + SITE + b'/find"',
        b'   method="GET"',
        b">",
    ]
    if inputs:
        lines += [b'<input name="q" user>', b'<input name="sourceid" value="quorrel-test">']
    lines += [b"</search>"]
    if browser:
        lines += [b"", b"<browser"] + [b"   " + b for b in browser] + [b">"]
    return lines


def plugin(comment, name_line, eol=CRLF, **kwargs):
    return lines_to_bytes(plugin_lines(comment, name_line, **kwargs), eol)


def named(comment, name, eol=CRLF, **kwargs):
    """A plugin whose name attribute is name in double quotes (name is a str in Windows-1252)."""
    value = name.encode("cp1252") if isinstance(name, str) else name
    return plugin(comment.encode("ascii"), b'name="' + value + b'"', eol, **kwargs)


def update_lines(stem):
    return [
        b'update="' + SITE + b"/plugins/" + stem + b'.src"',
        b'updateicon="' + SITE + b"/plugins/" + stem + b'.png"',
        b'updatecheckdays="7"',
    ]


def sized(name, size, eol=LF, width=48):
    """A plugin of exactly size bytes: name first, padding comments, update attributes last.

    The update attributes and the closing marker sit at the very end, so a text cut at the
    buffer's limit loses them: a file written back cut short is easy to see.
    """
    stem = name.encode("ascii")
    head = plugin_lines(b"Exactly " + str(size).encode() + b" bytes.", b'name="Big ' + stem + b'"')
    tail = [b"", b"<browser"] + [b"   " + u for u in update_lines(stem)] + [b">", b"# end of " + stem]
    fixed = len(lines_to_bytes(head + tail, eol))
    padding = []
    used = fixed
    number = 0
    while True:
        line = b"# padding %05d " % number + b"." * width
        if used + len(line) + len(eol) > size:
            break
        padding.append(line)
        used += len(line) + len(eol)
        number += 1
    rest = size - used
    padding[-1] += b"." * rest  # the last padding line takes up the bytes that are left
    data = lines_to_bytes(head + padding + tail, eol)
    assert len(data) == size, (name, len(data))
    return data


def expands_over_limit():
    """32000 bytes with lone CR line ends: each CR reads as CR LF, so the text outgrows 32767."""
    data = sized("cr-32000", 32000, CR, width=8)
    assert data.count(CR) + len(data) > 32767
    return data


# ---------------------------------------------------------------------------
# Tiny images, drawn here byte by byte

def gif():
    # 1x1, two-colour global table, one LZW-coded pixel (clear, 0, end).
    return (b"GIF89a" + struct.pack("<HHBBB", 1, 1, 0x80, 0, 0) + b"\x20\x60\xa0\xff\xff\xff"
            + b"\x2c" + struct.pack("<HHHHB", 0, 0, 1, 1, 0) + b"\x02\x02\x44\x01\x00\x3b")


def png():
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    header = struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(b"\x00\x20\x60\xa0", 9)) + chunk(b"IEND", b""))


def jpeg():
    # Baseline, 1x1 grey, one Huffman code each for DC 0 and end-of-block.
    def segment(marker, body):
        return b"\xff" + marker + struct.pack(">H", len(body) + 2) + body
    one_code = b"\x01" + b"\x00" * 15 + b"\x00"
    return (b"\xff\xd8"
            + segment(b"\xdb", b"\x00" + b"\x01" * 64)
            + segment(b"\xc0", b"\x08" + struct.pack(">HH", 1, 1) + b"\x01\x01\x11\x00")
            + segment(b"\xc4", b"\x00" + one_code)
            + segment(b"\xc4", b"\x10" + one_code)
            + segment(b"\xda", b"\x01\x01\x00\x00\x3f\x00")
            + b"\x3f\xff\xd9")


def dib(height_factor, bits, pixel_rows):
    return struct.pack("<IiiHHIIiiII", 40, 1, height_factor, 1, bits, 0, len(pixel_rows), 2835, 2835, 0, 0) + pixel_rows


def bmp():
    body = dib(1, 24, b"\xa0\x60\x20\x00")
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, 14 + 40) + body


def ico():
    # One 1x1 32-bit image: the bitmap's height counts the colour and the mask rows.
    image = dib(2, 32, b"\xa0\x60\x20\xff" + b"\x00\x00\x00\x00")
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 1, 1, 0, 0, 1, 32, len(image), 22) + image


IMAGES = {".gif": gif, ".png": png, ".jpg": jpeg, ".jpeg": jpeg, ".jpe": jpeg, ".ico": ico, ".bmp": bmp}


# ---------------------------------------------------------------------------
# The corpus

def corpus():
    files = {}

    def add(name, data):
        assert name.lower() not in {n.lower() for n in files}, name  # the file system ignores case
        files[name] = data

    # Files that give no row.
    add("empty.src", b"")
    add("no-name.src", plugin(b"No name attribute anywhere.", b'alias="anonymous"', inputs=False))
    add("blank-name.src", named("The name is blanks only.", "   "))
    add("nbsp-name.src", named("The name is no-break spaces (0xA0) only.", b"\xa0\xa0 \xa0"))
    add("name-mixed-only.src", plugin(b"Only a nAme= spelling and no input names.", b'nAme="Mixed Only"',
                                      inputs=False))

    # Quote styles.
    add("quote-double.src", named("Double quotes.", "Double Quoted"))
    add("quote-single.src", plugin(b"Single quotes.", b"name='Single Quoted'"))
    add("quote-blank.src", plugin(b"Three blanks after the equals sign: a blank is the quote.",
                                  b"name=   Blank Quoted"))
    add("quote-none.src", plugin(b"Unquoted: the B is the quote and never comes again.", b"name=Bing"))
    add("quote-none-recurs.src", plugin(b"Unquoted: the W is the quote and comes again.", b"name=Weather Web"))

    # Where and how the name attribute is written.
    lines = plugin_lines(b"An input element with a name comes before the search element.", b'name="After Input"')
    lines.insert(1, b'<input name="early" value="1">')
    add("input-first.src", lines_to_bytes(lines))
    add("name-upper.src", plugin(b"Key in capitals, blank before the equals sign.", b'NAME ="Upper Key"'))
    add("name-capital.src", plugin(b"Key with a capital initial, blank after the equals sign.",
                                   b'Name= "Capital Key"'))
    add("name-mixed.src", plugin(b"Unrecognised nAme= spelling; an input's name follows.", b'nAme="Mixed Key"'))
    add("name-spaced.src", plugin(b"Blanks on both sides of the equals sign.", b'name = "Spaced Key"'))

    # Windows-1252 names, long names, "##".
    add("umlauts.src", named("Windows-1252 umlauts and sharp s.", "Wörterbuch Übersetzer Straße"))
    add("euro.src", named("The euro sign (0x80) and other Windows-1252 marks.", "Preise in € – „günstig“"))
    add("nbsp-around.src", named("No-break spaces (0xA0) around the name.", b"\xa0Padded Title\xa0"))
    long_name = ("Long name " + "0123456789" * 29)[:300]
    assert len(long_name) == 300
    add("long-name.src", named("A name of 300 characters.", long_name))
    add("hash-name.src", named("Two hashes inside the display name.", "C## Search"))
    add("a##b.src", named("Two hashes in the file name before any save.", "Hash File"))
    add("a##b.gif", gif())

    # Names the browser pins to the top, and near misses.
    add("google.src", named("Pinned name.", "Google"))
    add("google.gif", gif())
    add("google-lower.src", named("Pinned name in lower case.", "google"))
    add("google-caps.src", named("Capitals: not a pinned name.", "GOOGLE"))
    add("google-unpinned.src", named("Already unpinned: a blank follows the name.", "Google "))
    add("google-words.src", named("More words: not a pinned name.", "Google Maps"))
    add("google-spaced.src", plugin(b"Pinned name with blanks around the equals sign.", b'name = "Google"'))
    add("google-three-blanks.src", plugin(b"Three blanks after the equals sign: the blank is the quote.",
                                          b'name=   Google method="GET"'))
    add("yahoo.src", named("Pinned name with two images.", "Yahoo"))
    add("yahoo.gif", gif())
    add("yahoo.png", png())
    add("yahoo-lower.src", named("Pinned name in lower case.", "yahoo"))
    add("yahoo-caps.src", named("Capitals: not a pinned name.", "YAHOO"))
    add("yahoo-unpinned.src", named("Already unpinned.", "Yahoo "))

    # Update attributes.
    add("update-spaced.src", named("Update keys with blanks around the equals sign.", "Update Spaced",
                                   browser=[b'update = "' + SITE + b'/u.src"',
                                            b'updateIcon = "' + SITE + b'/u.png"',
                                            b'updateCheckDays= "7"',
                                            b'param="a = b"']))
    add("update-caps.src", named("Update keys in capitals.", "Update Caps",
                                 browser=[b'UPDATE="' + SITE + b'/c.src"',
                                          b'UPDATEICON="' + SITE + b'/c.png"',
                                          b'UPDATECHECKDAYS="3"']))
    add("update-unlisted.src", named("UpdateICON= is no known spelling; the word Update alone stays.",
                                     "Update Unlisted", description=b"Update weekly",
                                     browser=[b'Update="' + SITE + b'/x.src"',
                                              b'UpdateICON="' + SITE + b'/x.png"',
                                              b'UpdateCheckdays="5"']))
    add("update-disabled.src", named("Update keys already disabled.", "Update Disabled",
                                     browser=[b'#update="' + SITE + b'/d.src"',
                                              b'#updateicon="' + SITE + b'/d.png"',
                                              b'#updatecheckdays="7"']))
    add("update-none.src", named("No update attributes at all.", "Update None"))

    # Line ends.
    add("lf-only.src", named("LF line ends only.", "LF Only", eol=LF, browser=update_lines(b"lf-only")))
    add("cr-only.src", named("CR line ends only.", "CR Only", eol=CR, browser=update_lines(b"cr-only")))
    lines = plugin_lines(b"First line LF, then CR LF, one lone CR.", b'name="Mixed LF First"')
    add("mixed-lf-first.src", lines_to_bytes(lines, [LF] + [CRLF] * (len(lines) - 3) + [CR, CRLF]))
    lines = plugin_lines(b"First line CR LF, then LF.", b'name="Mixed CRLF First"')
    add("mixed-crlf-first.src", lines_to_bytes(lines, [CRLF] + [LF] * (len(lines) - 1)))
    add("leading-lf.src", LF + named("The text starts with a line feed.", "Leading LF", eol=LF))
    add("no-line-end.src", b'<search name="One Line" action="' + SITE + b'/one"><input name="q" user></search>')

    # NUL bytes.
    add("nul-in-name.src", named("A NUL byte inside the name.", b"Nul\x00Title"))
    lines = plugin_lines(b"A NUL byte between the lines.", b'name="Nul Body"', browser=update_lines(b"nul-body"))
    lines.insert(1, b"# before\x00after")
    add("nul-in-body.src", lines_to_bytes(lines, LF))
    add("nul-first.src", b"\x00" + named("The file starts with a NUL byte.", "Nul First", eol=LF))

    # Sizes around the 32768-byte text buffer.
    for size in (32765, 32766, 32767, 32768, 40000):
        add("big-%d.src" % size, sized(str(size), size))
    add("big-cr-32000.src", expands_over_limit())

    # Extension case, hidden plugins.
    add("CAPS.SRC", named("Extension in capitals.", "Capital Extension"))
    add("CAPS.GIF", gif())
    add("hidden.hid", named("A hidden plugin with its image.", "Hidden Plugin"))
    add("hidden.png", png())
    add("hidden-google.hid", named("A hidden plugin with a pinned name.", "Google"))

    # Images of every extension, valid and empty.
    for ext, make in IMAGES.items():
        stem = "img-" + ext[1:]
        add(stem + ".src", named("One image: " + ext + ".", "Image " + ext))
        add(stem + ext, make())
    add("images-all.src", named("An image of every extension.", "Images All"))
    for ext, make in IMAGES.items():
        add("images-all" + ext, make())
    add("image-zero-all.src", named("An empty image of every extension.", "Image Zero All"))
    for ext in IMAGES:
        add("image-zero-all" + ext, b"")
    add("image-zero-gif.src", named("An empty .gif beside a valid .png.", "Image Zero Gif"))
    add("image-zero-gif.gif", b"")
    add("image-zero-gif.png", png())
    add("image-zero-png.src", named("An empty .png beside a valid .gif.", "Image Zero Png"))
    add("image-zero-png.png", b"")
    add("image-zero-png.gif", gif())
    add("orphan.png", png())
    return files


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent / "plugins"
    out.mkdir(parents=True, exist_ok=True)
    files = corpus()
    for name, data in files.items():
        (out / name).write_bytes(data)
    stray = sorted(p.name for p in out.iterdir() if p.name not in files)
    total = sum(len(d) for d in files.values())
    print("%d files, %d bytes in %s" % (len(files), total, out))
    if stray:
        print("not made by this script (remove them?): " + ", ".join(stray), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
