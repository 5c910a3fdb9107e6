#!/usr/bin/env python3
"""Writes the shell's icons and list-view bitmaps into pictures/ (run again after a change).

Button icons are rounded squares of one colour per icon with a white sign, so that window tests
can tell which icon a button shows from the colour of a pixel inside it.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "pictures")

WHITE = (255, 255, 255)


class Canvas:
    def __init__(self, width, height, background=None):
        self.w, self.h = width, height
        self.px = [[background] * width for _ in range(height)]  # None = transparent

    def put(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):  # inclusive corners
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour, thickness=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            for dy in range(thickness):
                for dx in range(thickness):
                    self.put(int(round(x)) + dx, int(round(y)) + dy, colour)

    def rounded(self, x0, y0, x1, y1, colour, cut=3):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                dx = min(x - x0, x1 - x)
                dy = min(y - y0, y1 - y)
                if dx + dy >= cut:
                    self.put(x, y, colour)


def ico_image(canvas):
    """One 32-bit image of an icon file: header, BGRA rows bottom-up, AND mask."""
    w, h = canvas.w, canvas.h
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(canvas.px):
        for p in row:
            colour += bytes((0, 0, 0, 0)) if p is None else bytes((p[2], p[1], p[0], 255))
    mask = bytearray()
    stride = ((w + 31) // 32) * 4
    for row in reversed(canvas.px):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def write_ico(name, canvases):
    images = [ico_image(c) for c in canvases]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, image in zip(canvases, images):
        data += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        data += image
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def write_bmp(name, canvas):
    w, h = canvas.w, canvas.h
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(canvas.px):
        line = bytearray()
        for p in row:
            p = WHITE if p is None else p
            line += bytes((p[2], p[1], p[0]))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(head + info + pixels)


def button_icon(fill, sign):
    c = Canvas(32, 32)
    c.rounded(1, 1, 30, 30, fill)
    sign(c)
    return c


def check_sign(c):
    c.line(10, 16, 14, 20, WHITE, 3)
    c.line(14, 20, 21, 10, WHITE, 3)


def cross_sign(c):
    c.line(10, 10, 20, 20, WHITE, 3)
    c.line(20, 10, 10, 20, WHITE, 3)


def exit_sign(c):
    c.line(10, 15, 20, 15, WHITE, 3)
    c.line(16, 10, 21, 15, WHITE, 3)
    c.line(21, 15, 16, 20, WHITE, 3)


def chip(c, x0, y0, x1, y1, body, pins):
    c.rect(x0, y0, x1, y1, body)
    for y in range(y0 + 2, y1 - 1, 4):
        c.rect(x0 - 3, y, x0 - 1, y + 1, pins)
        c.rect(x1 + 1, y, x1 + 3, y + 1, pins)
    c.rect(x0 + 2, y0 + 2, x0 + 3, y0 + 3, WHITE)


def page(c, x0, band):
    c.rect(x0 + 8, 3, x0 + 31, 36, (255, 255, 240))
    c.frame(x0 + 8, 3, x0 + 31, 36, (0, 0, 0))
    c.rect(x0 + 9, 4, x0 + 30, 9, band)
    for y in range(13, 34, 4):
        c.rect(x0 + 11, y, x0 + 28, y + 1, (128, 128, 128))


def disc(c, cx, cy, r, colour):
    for y in range(cy - r, cy + r + 1):
        for x in range(cx - r, cx + r + 1):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                c.put(x, y, colour)


FACE = (192, 192, 192)
TOOLBAR_COLOURS = [(255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 128, 0), (128, 0, 255),
                   (0, 160, 160), (160, 96, 0), (255, 0, 255), (96, 96, 0), (0, 96, 255),
                   (160, 0, 64), (64, 0, 128), (0, 64, 64), (255, 200, 0)]
SET_MODE_COLOURS = [("mode_program.bmp", (224, 32, 96)), ("mode_run.bmp", (32, 224, 96)),
                    ("mode_closed.bmp", (96, 32, 224))]


def toolbar_image(c, x0, colour):
    c.rounded(x0 + 2, 2, x0 + 18, 18, colour, 2)
    c.rect(x0 + 9, 9, x0 + 11, 11, WHITE)


def main():
    os.makedirs(OUT, exist_ok=True)
    write_ico("ok.ico", [button_icon((0, 128, 0), check_sign)])
    write_ico("ok_over.ico", [button_icon((0, 200, 0), check_sign)])
    write_ico("cancel.ico", [button_icon((128, 0, 64), cross_sign)])
    write_ico("cancel_over.ico", [button_icon((224, 0, 112), cross_sign)])
    write_ico("exit.ico", [button_icon((0, 96, 128), exit_sign)])
    write_ico("exit_over.ico", [button_icon((0, 160, 224), exit_sign)])

    big = Canvas(32, 32)
    chip(big, 9, 3, 22, 28, (48, 48, 48), (192, 192, 192))
    small = Canvas(16, 16)
    chip(small, 5, 1, 10, 14, (48, 48, 48), (192, 192, 192))
    write_ico("tarnel.ico", [big, small])

    files = Canvas(80, 40, WHITE)
    page(files, 0, (96, 96, 96))
    page(files, 40, (0, 112, 160))
    write_bmp("file_types.bmp", files)

    formats = Canvas(80, 40, WHITE)
    page(formats, 0, (32, 64, 160))
    page(formats, 40, (160, 32, 32))
    write_bmp("hex_formats.bmp", formats)

    loaders = Canvas(80, 40, WHITE)
    chip(loaders, 12, 4, 27, 35, (0, 112, 64), (192, 192, 192))
    chip(loaders, 52, 4, 67, 35, (24, 40, 112), (192, 192, 192))
    write_bmp("resident_loaders.bmp", loaders)

    # The Messages window's kinds: plain, information, success, error detail, failure, advice;
    # a disc of its own colour each, 13 pixels wide.
    kinds = Canvas(78, 13, WHITE)
    for i, colour in enumerate([(128, 128, 128), (0, 64, 192), (0, 144, 0), (192, 96, 0),
                                (208, 0, 0), (144, 0, 160)]):
        disc(kinds, i * 13 + 6, 6, 5, colour)
    write_bmp("message_kinds.bmp", kinds)

    # The main toolbar: one 21-pixel square of its own colour per button, in the buttons' order
    # (New, Open, Save, Read, Write, Verify, AutoSequence, Blank check, Special features, Erase,
    # Security bits, Set Mode, Check connection, About), on the button face's grey.
    toolbar = Canvas(21 * len(TOOLBAR_COLOURS), 21, FACE)
    for i, colour in enumerate(TOOLBAR_COLOURS):
        toolbar_image(toolbar, i * 21, colour)
    write_bmp("toolbar.bmp", toolbar)
    # The Set Mode button's three faces: program mode, run mode, port closed.
    for name, colour in SET_MODE_COLOURS:
        image = Canvas(21, 21, FACE)
        toolbar_image(image, 0, colour)
        write_bmp(name, image)


if __name__ == "__main__":
    main()
