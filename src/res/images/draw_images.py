#!/usr/bin/env python3
"""Draws the program's bitmaps and icons and writes them beside this script.

The images are pixel art in the 16 colours of the classic palette, written as 4-bit BMP and
ICO files so that the toolbar control can map the button colours.  Run it after changing a
drawing; the build uses the files it writes, not the script:

    python3 src/res/images/draw_images.py
"""

import os
import struct

# The 16-colour palette; one letter per colour in the drawings below.
PALETTE = [
    ('k', (0, 0, 0)),        # black
    ('m', (128, 0, 0)),      # maroon
    ('e', (0, 128, 0)),      # green
    ('o', (128, 128, 0)),    # olive
    ('n', (0, 0, 128)),      # navy
    ('p', (128, 0, 128)),    # purple
    ('t', (0, 128, 128)),    # teal
    ('s', (192, 192, 192)),  # silver: the toolbar's button face, transparent in bitmap 114
    ('g', (128, 128, 128)),  # grey
    ('r', (255, 0, 0)),      # red
    ('G', (0, 255, 0)),      # lime
    ('y', (255, 255, 0)),    # yellow
    ('b', (0, 0, 255)),      # blue
    ('f', (255, 0, 255)),    # magenta: the key colour of bitmaps 118 and 119
    ('c', (0, 255, 255)),    # aqua
    ('w', (255, 255, 255)),  # white
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}


class Image:
    """A grid of palette letters, row 0 at the top."""

    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.rows = [[fill] * width for _ in range(height)]

    def set(self, x, y, letter):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = letter

    def get(self, x, y):
        return self.rows[y][x]

    def paste(self, art, x0, y0, clear='.'):
        """Copies a drawing (lines of letters) to (x0, y0); `clear` letters are skipped."""
        for dy, line in enumerate(art):
            for dx, letter in enumerate(line):
                if letter != clear:
                    self.set(x0 + dx, y0 + dy, letter)

    def paste_image(self, other, x0, y0):
        for y in range(other.height):
            for x in range(other.width):
                self.set(x0 + x, y0 + y, other.get(x, y))

    def fill_rect(self, x0, y0, x1, y1, letter):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, letter)

    def mirrored(self):
        copy = Image(self.width, self.height, '.')
        copy.rows = [list(reversed(row)) for row in self.rows]
        return copy


def art(text):
    """A drawing written as a block of lines; blank lines around it are ignored."""
    return [line.strip() for line in text.strip().splitlines()]


def drawing(text, background):
    lines = art(text)
    image = Image(len(lines[0]), len(lines), background)
    for y, line in enumerate(lines):
        assert len(line) == image.width, (text, line)
        for x, letter in enumerate(line):
            image.set(x, y, background if letter == '.' else letter)
    return image


# ---- file writers -----------------------------------------------------------------------

def palette_bytes():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for _, (r, g, b) in PALETTE)


def pixel_rows_4bit(image):
    """The 4-bit rows of an image, bottom row first, each padded to four bytes."""
    data = bytearray()
    for y in reversed(range(image.height)):
        row = bytearray()
        for x in range(0, image.width, 2):
            high = INDEX[image.get(x, y)]
            low = INDEX[image.get(x + 1, y)] if x + 1 < image.width else 0
            row.append(high << 4 | low)
        while len(row) % 4:
            row.append(0)
        data += row
    return bytes(data)


def mask_rows(image, transparent):
    """The 1-bit AND mask of an icon: 1 where the pixel is `transparent`."""
    data = bytearray()
    for y in reversed(range(image.height)):
        bits = 0
        row = bytearray()
        for x in range(image.width):
            bits = bits << 1 | (1 if image.get(x, y) == transparent else 0)
            if x % 8 == 7:
                row.append(bits)
                bits = 0
        if image.width % 8:
            row.append(bits << (8 - image.width % 8))
        while len(row) % 4:
            row.append(0)
        data += row
    return bytes(data)


def info_header(width, height, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 16)


def write_bmp(path, image):
    pixels = pixel_rows_4bit(image)
    header = info_header(image.width, image.height, len(pixels)) + palette_bytes()
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(pixels), 0, 0,
                              14 + len(header))
    with open(path, 'wb') as out:
        out.write(file_header + header + pixels)


def write_ico(path, images, transparent):
    """An icon file holding the given images (largest first); `transparent` pixels are clear."""
    blobs = []
    for image in images:
        xor = pixel_rows_4bit(image)
        mask = mask_rows(image, transparent)
        # Transparent pixels are black in the colour part so that the mask alone shows them.
        clean = Image(image.width, image.height, 'k')
        for y in range(image.height):
            for x in range(image.width):
                if image.get(x, y) != transparent:
                    clean.set(x, y, image.get(x, y))
        xor = pixel_rows_4bit(clean)
        header = info_header(image.width, image.height * 2, len(xor) + len(mask))
        blobs.append(header + palette_bytes() + xor + mask)
    offset = 6 + 16 * len(images)
    directory = struct.pack('<HHH', 0, 1, len(images))
    for image, blob in zip(images, blobs):
        directory += struct.pack('<BBBBHHII', image.width % 256, image.height % 256, 16, 0, 1, 4,
                                 len(blob), offset)
        offset += len(blob)
    with open(path, 'wb') as out:
        out.write(directory + b''.join(blobs))


# ---- toolbar images (bitmap 114) ----------------------------------------------------------
# Sixteen by sixteen each, on silver, which the toolbar shows as its own button face.

MAGNIFIER = art('''
..kkkk....
.kwwcck...
kwwcccck..
kwccccck..
kcccccck..
kcccccck..
.kcccckk..
..kkkkmmk.
......kmmk
.......kmm
''')

ARROW_RIGHT = art('''
...b...
...bb..
bbbbbb.
bbbbbbb
bbbbbb.
...bb..
...b...
''')

MINI_FOLDER = art('''
kkk...
kyykkk
kyyyyk
kyyyyk
kkkkkk
''')

BIG_FOLDER = art('''
.kkkkk.........
kyyyyyk........
kyyyyykkkkkkkk.
kyyyyyyyyyyyyyk
kywwwwwwwwwwwyk
kyyyyyyyyyyyyyk
kyyyyyyyyyyyyyk
kyyyyyyyyyyyyyk
kyyyyyyyyyyyyyk
koooooooooooook
kkkkkkkkkkkkkkk
''')

MARK_SIGN = art('''
..nn..
.nbbn.
nbbbbn
nbbbbn
.nbbn.
..nn..
''')


def toolbar_image():
    return Image(16, 16, 's')


def find_next():
    image = toolbar_image()
    image.paste(MAGNIFIER, 0, 0)
    image.paste(ARROW_RIGHT, 0, 9)
    image.set(10, 10, 'k')
    return image


def find_previous():
    return find_next().mirrored()


def replace_next():
    image = toolbar_image()
    letter_a = art('''
    .kkk.
    k...k
    k...k
    kkkkk
    k...k
    k...k
    ''')
    letter_b = art('''
    rrrr.
    r...r
    rrrr.
    r...r
    r...r
    rrrr.
    ''')
    image.paste(letter_a, 0, 0)
    image.paste(art('''
    ..k.
    kkkk
    ..k.
    '''), 6, 2)
    image.paste(letter_b, 11, 0)
    image.paste(ARROW_RIGHT, 5, 8)
    return image


def list_frame(image):
    image.fill_rect(0, 1, 15, 14, 'w')
    for x in range(16):
        image.set(x, 1, 'k')
        image.set(x, 14, 'k')
    for y in range(1, 15):
        image.set(0, y, 'k')
        image.set(15, y, 'k')


def files_only_view():
    image = toolbar_image()
    list_frame(image)
    for row, length in zip((3, 6, 9, 11), (7, 9, 5, 8)):
        image.fill_rect(2, row, 3, row + 1, 'b')
        image.fill_rect(5, row, 5 + length - 1, row, 'k')
    return image


def folders_only_view():
    image = toolbar_image()
    image.paste(MINI_FOLDER, 0, 0)
    for y in range(5, 14):
        image.set(2, y, 'g')
    image.fill_rect(3, 8, 5, 8, 'g')
    image.fill_rect(3, 13, 5, 13, 'g')
    image.paste(MINI_FOLDER, 6, 6)
    image.paste(MINI_FOLDER, 6, 11)
    image.fill_rect(13, 7, 15, 7, 'g')
    image.fill_rect(13, 12, 15, 12, 'g')
    return image


def both_views():
    image = toolbar_image()
    image.paste(MINI_FOLDER, 0, 0)
    image.set(2, 5, 'g')
    image.set(2, 6, 'g')
    image.fill_rect(3, 6, 4, 6, 'g')
    image.paste(MINI_FOLDER, 5, 3)
    image.fill_rect(0, 8, 15, 8, 'n')
    image.fill_rect(0, 9, 15, 15, 'w')
    for row, length in ((10, 8), (13, 11)):
        image.fill_rect(1, row, 2, row + 1, 'b')
        image.fill_rect(4, row, 4 + length - 1, row, 'k')
    return image


def next_window():
    image = drawing('''
    kkkkkkkkkk......
    knnnnnnnnk......
    kwwwwwwwwk......
    kwwwwwwwwk......
    kwwwwwwkkkkkkkkk
    kwwwwwwknnnnnnnk
    kwwwwwwkwwwwwwwk
    kwwwwwwkwwwwwwwk
    kwwwwwwkwwwwwwwk
    kkkkkkkkwwwwwwwk
    .......kwwwwwwwk
    .......kwwwwwwwk
    .......kwwwwwwwk
    .......kwwwwwwwk
    .......kkkkkkkkk
    ................
    ''', 's')
    image.paste(art('''
    ....e..
    ....ee.
    eeeeeee
    ....ee.
    ....e..
    '''), 0, 10)
    return image


def next_mark():
    image = toolbar_image()
    image.paste(art('''
    ..eee..
    ..eee..
    ..eee..
    ..eee..
    eeeeeee
    .eeeee.
    ..eee..
    ...e...
    '''), 0, 0)
    image.paste(MARK_SIGN, 0, 10)
    for row, length in ((1, 8), (4, 6), (7, 7), (12, 8)):
        image.fill_rect(8, row, 8 + length - 1, row, 'g')
    return image


def pencil():
    """A pencil lying from the lower left (its point) to the upper right (its eraser)."""
    image = toolbar_image()
    for y in range(16):
        for x in range(16):
            across = x + y - 15          # distance across the pencil, 0 on its axis
            along = x - y                # position along it, -15 at the point, 15 at the eraser
            if abs(across) > 2 or along < -13 or along > 13:
                continue
            if along < -9:               # the sharpened wood and its lead
                width = (along + 13) // 2
                if abs(across) <= width:
                    image.set(x, y, 'k' if along < -11 else 'o')
                continue
            if abs(across) == 2:
                image.set(x, y, 'k')
            elif along > 9:
                image.set(x, y, 'r')
            elif along > 6:
                image.set(x, y, 'g')
            else:
                image.set(x, y, 'y' if across < 1 else 'o')
    image.fill_rect(0, 15, 6, 15, 'n')
    return image


def show_folders():
    image = toolbar_image()
    list_frame(image)
    image.paste(MINI_FOLDER, 2, 3)
    image.fill_rect(9, 5, 13, 5, 'k')
    image.paste(MINI_FOLDER, 2, 9)
    image.fill_rect(9, 11, 12, 11, 'k')
    return image


def find_bar():
    image = toolbar_image()
    image.paste(MAGNIFIER[:8], 4, 0)
    image.paste(art('''
    kkkkkkkkkkkkkkkk
    kggggggggggggggk
    kgwwwwwwwgwwwwgk
    kgwkwwwwwgwwwwgk
    kgwwwwwwwgwwwwgk
    kggggggggggggggk
    kkkkkkkkkkkkkkkk
    '''), 0, 9)
    return image


def new_folder():
    image = toolbar_image()
    image.paste(BIG_FOLDER, 0, 5)
    image.paste(art('''
    ...k...
    ..kyk..
    .kyyyk.
    kyyyyyk
    .kyyyk.
    ..kyk..
    ...k...
    '''), 9, 0)
    return image


def folder_up():
    image = toolbar_image()
    image.paste(BIG_FOLDER, 0, 5)
    image.paste(art('''
    ...e...
    ..eee..
    .eeeee.
    eeeeeee
    ..eee..
    ..eee..
    ..eee..
    ..eee..
    ..eee..
    '''), 5, 2)
    return image


def document():
    return drawing('''
    ..kkkkkkkkk.....
    ..kwwwwwwwkk....
    ..kwwwwwwwkwk...
    ..kwnnnnnwkwwk..
    ..kwwwwwwwkkkkk.
    ..kwnnnnnnnnnwk.
    ..kwwwwwwwwwwwk.
    ..kwnnnnnnnnnwk.
    ..kwwwwwwwwwwwk.
    ..kwnnnnnnnnnwk.
    ..kwwwwwwwwwwwk.
    ..kwnnnnnnnwwwk.
    ..kwwwwwwwwwwwk.
    ..kwwwwwwwwwwwk.
    ..kkkkkkkkkkkkk.
    ................
    ''', 's')


# The order of the strip; resource.h names each index (TBIMG_*). Buttons of the main window's
# menu bar are numbered after the 15 standard images, so its images 20, 21, 22, 24, 25 and 28
# are entries 5, 6, 7, 9, 10 and 13 here.
TOOLBAR = [
    find_previous,      # 0
    replace_next,       # 1
    files_only_view,    # 2
    folders_only_view,  # 3
    both_views,         # 4
    next_window,        # 5
    next_mark,          # 6
    pencil,             # 7  the Edit menu button
    show_folders,       # 8
    find_bar,           # 9
    find_next,          # 10
    new_folder,         # 11
    folder_up,          # 12
    document,           # 13 the File menu button
]


def toolbar_strip():
    strip = Image(16 * len(TOOLBAR), 16, 's')
    for i, draw in enumerate(TOOLBAR):
        image = draw()
        for y in range(16):
            for x in range(16):
                if image.get(x, y) == '.':
                    image.set(x, y, 's')
        strip.paste_image(image, 16 * i, 0)
    return strip


# ---- the other bitmaps ----------------------------------------------------------------------

def mark_sign():
    """Bitmap 102: the 6 x 6 sign in the margin of a marked line, on the window colour."""
    return drawing('\n'.join(MARK_SIGN), 'w')


def close_button():
    """Bitmap 118: two 17 x 17 close buttons side by side, released and pressed; magenta clear."""
    strip = Image(34, 17, 'f')
    for pressed in (False, True):
        x0 = 17 if pressed else 0
        ring, face, cross = ('n', 'w', 'n') if pressed else ('k', 'n', 'w')
        for y in range(17):
            for x in range(17):
                d = (x - 8) ** 2 + (y - 8) ** 2
                if d <= 58:
                    strip.set(x0 + x, y, ring if d > 36 else face)
        for i in range(-3, 4):
            for thick in (0, 1):
                strip.set(x0 + 8 + i + thick, 8 + i, cross)
                strip.set(x0 + 8 + i + thick, 8 - i, cross)
    return strip


def sort_marks():
    """Bitmap 119: three 16 x 16 header images: none, ascending, descending; magenta clear."""
    strip = Image(48, 16, 'f')
    up = art('''
    ...k...
    ..kgk..
    .kgggk.
    kkkkkkk
    ''')
    strip.paste(up, 16 + 4, 6)
    strip.paste(list(reversed(up)), 32 + 4, 6)
    return strip


# ---- icons 1 to 5 ------------------------------------------------------------------------

FONT = {  # three by five capitals
    'T': ['kkk', '.k.', '.k.', '.k.', '.k.'],
    'E': ['kkk', 'k..', 'kk.', 'k..', 'kkk'],
    'X': ['k.k', 'k.k', '.k.', 'k.k', 'k.k'],
    'C': ['.kk', 'k..', 'k..', 'k..', '.kk'],
    '+': ['...', '.k.', 'kkk', '.k.', '...'],
    'G': ['.kk', 'k..', 'k.k', 'k.k', '.kk'],
    'P': ['kk.', 'k.k', 'kk.', 'k..', 'k..'],
    'H': ['k.k', 'k.k', 'kkk', 'k.k', 'k.k'],
}


def write_text(image, text, x0, y0, letter, scale):
    x = x0
    for ch in text:
        for dy, line in enumerate(FONT[ch]):
            for dx, cell in enumerate(line):
                if cell != '.':
                    image.fill_rect(x + dx * scale, y0 + dy * scale,
                                    x + dx * scale + scale - 1, y0 + dy * scale + scale - 1, letter)
        x += 4 * scale


def text_width(text, scale):
    return (4 * len(text) - 1) * scale


def page(size):
    """A sheet with a folded corner, on the transparent colour 'f'."""
    image = Image(size, size, 'f')
    left, right = (4, 27) if size == 32 else (2, 13)
    top, bottom = 0, size - 1
    fold = 7 if size == 32 else 4
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x > right - fold + (y - top):
                continue
            image.set(x, y, 'w')
    for x in range(left, right - fold + 1):
        image.set(x, top, 'k')
    for x in range(left, right + 1):
        image.set(x, bottom, 'k')
    for y in range(top, bottom + 1):
        image.set(left, y, 'k')
        if y >= top + fold:
            image.set(right, y, 'k')
    for i in range(fold + 1):
        image.set(right - fold + i, top + i, 'k')          # the diagonal edge
        image.set(right - fold, top + i, 'k')              # the fold
        image.set(right - fold + i, top + fold, 'k')
    for i in range(1, fold):
        for j in range(1, i + 1):
            image.set(right - fold + j, top + i, 'g' if j < i else 'k')
    return image, left, right


def file_icon(size, label, band):
    image, left, right = page(size)
    scale = 2 if size == 32 else 1
    if label is None:
        # The program's own icon: lines of text and a pencil writing the last one.
        rows = range(8, 26, 3) if size == 32 else range(5, 13, 2)
        for n, row in enumerate(rows):
            end = right - (3 if size == 32 else 2) - (n * 3 % 7 if size == 32 else n % 3)
            image.fill_rect(left + 3 if size == 32 else left + 2, row, end, row, 'n')
        tip = (left + 4, size - 5) if size == 32 else (left + 2, size - 3)
        length = 14 if size == 32 else 7
        for i in range(length):
            x, y = tip[0] + i + 2, tip[1] - i
            image.set(x, y, 'y')
            image.set(x + 1, y, 'o')
            image.set(x - 1, y, 'k')
            image.set(x + 2, y, 'k')
        image.set(tip[0] + 1, tip[1] + 1, 'k')
        image.fill_rect(tip[0] + length + 1, tip[1] - length - 1, tip[0] + length + 2,
                        tip[1] - length, 'r')
        return image
    width = text_width(label, scale)
    band_height = 5 * scale + 4
    band_top = size - band_height - (3 if size == 32 else 1)
    band_left = min(left + 1, (size - width) // 2 - 2)
    band_right = max(right - 1, band_left + width + 3)
    image.fill_rect(band_left, band_top, band_right, band_top + band_height - 1, band)
    write_text(image, label, band_left + (band_right - band_left + 1 - width) // 2, band_top + 2,
               'w', scale)
    lines = range(6, band_top - 2, 3) if size == 32 else range(4, band_top - 1, 2)
    for n, row in enumerate(lines):
        image.fill_rect(left + (3 if size == 32 else 2), row,
                        right - (4 if size == 32 else 2) - n % 2 * scale * 2, row, 'g')
    return image


ICONS = [
    ('fum.ico', None, None),   # 1: the program and any associated file
    ('tex.ico', 'TEX', 't'),   # 2: .tex
    ('cpp.ico', 'C++', 'b'),    # 3: .cpp
    ('gp.ico', 'GP', 'e'),     # 4: .gp
    ('h.ico', 'H', 'p'),       # 5: .h
]


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    write_bmp(os.path.join(folder, 'toolbar.bmp'), toolbar_strip())
    write_bmp(os.path.join(folder, 'mark.bmp'), mark_sign())
    write_bmp(os.path.join(folder, 'close.bmp'), close_button())
    write_bmp(os.path.join(folder, 'sortmarks.bmp'), sort_marks())
    for name, label, band in ICONS:
        write_ico(os.path.join(folder, name),
                  [file_icon(32, label, band), file_icon(16, label, band)], 'f')


if __name__ == '__main__':
    main()
