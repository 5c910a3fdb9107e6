#!/usr/bin/env python3
"""Writes the shell's icons and list-view bitmaps into pictures/ (run again after a change).

Button icons are rounded squares of one colour per icon with a white sign, and every toolbar
picture shows its command with a colour of its own, so that window tests can tell which picture a
button shows from the colour of a pixel inside it.
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


def write_bmp_palette(name, canvas):
    """An 8-bit picture with a colour table: the bars map the table's button-face grey (and
    black, dark grey and white) to the system's colours, so the face turns transparent and a
    disabled button shows the picture's outline instead of a grey square."""
    w, h = canvas.w, canvas.h
    colours = []
    for row in canvas.px:
        for p in row:
            p = WHITE if p is None else p
            if p not in colours:
                colours.append(p)
    assert len(colours) <= 256, name
    table = b"".join(bytes((p[2], p[1], p[0], 0)) for p in colours)
    stride = (w + 3) & ~3
    pixels = bytearray()
    for row in reversed(canvas.px):
        line = bytes(colours.index(WHITE if p is None else p) for p in row)
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(pixels), 2835, 2835, len(colours),
                       0)
    offset = 14 + len(info) + len(table)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(head + info + table + pixels)


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


FACE = (192, 192, 192)  # the button face: left out of the toolbar's pictures
INK = (32, 32, 32)
PIN = (128, 128, 128)

# The main toolbar's pictures in the buttons' order, each drawn on the button face's grey, with
# the colour that is its own: no other picture of the toolbar or of the Set Mode faces uses it,
# so a test tells the pictures apart by a pixel.
TOOLBAR_PICTURES = []
SET_MODE_PICTURES = []


def picture(colour, into):
    def register(draw):
        into.append((draw, colour))
        return draw
    return register


def fill_polygon(c, points, colour):
    """Fills a polygon by the even-odd rule at pixel centres."""
    ys = [p[1] for p in points]
    for y in range(int(min(ys)), int(max(ys)) + 1):
        cy = y + 0.5
        xs = []
        for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
            if (y0 <= cy < y1) or (y1 <= cy < y0):
                xs.append(x0 + (cy - y0) * (x1 - x0) / (y1 - y0))
        xs.sort()
        for a, b in zip(xs[::2], xs[1::2]):
            for x in range(int(round(a)), int(round(b))):
                c.put(x, y, colour)


def small_chip(c, x0, y0, x1, y1, body=INK):
    """A chip seen from above: a body with pins along its two long sides and a notch."""
    c.rect(x0, y0, x1, y1, body)
    c.frame(x0, y0, x1, y1, INK)
    for x in range(x0 + 1, x1, 2):
        c.put(x, y0 - 1, PIN)
        c.put(x, y1 + 1, PIN)
    c.put((x0 + x1) // 2, y0 + 1, PIN)


def arrow_down(c, x, y0, y1, colour):
    c.rect(x - 1, y0, x + 1, y1 - 3, colour)
    fill_polygon(c, [(x - 4, y1 - 3), (x + 5, y1 - 3), (x + 0.5, y1 + 1)], colour)


def arrow_up(c, x, y0, y1, colour):
    c.rect(x - 1, y0 + 3, x + 1, y1, colour)
    fill_polygon(c, [(x - 4, y0 + 4), (x + 5, y0 + 4), (x + 0.5, y0)], colour)


def tick(c, x, y, colour):
    c.line(x, y + 3, x + 2, y + 5, colour, 2)
    c.line(x + 2, y + 5, x + 7, y, colour, 2)


@picture((255, 200, 0), TOOLBAR_PICTURES)
def new_sheet(c, colour):
    fill_polygon(c, [(5, 2), (13, 2), (17, 6), (17, 19), (5, 19)], (255, 255, 255))
    c.line(5, 2, 12, 2, INK)
    c.line(5, 2, 5, 18, INK)
    c.line(5, 18, 16, 18, INK)
    c.line(16, 6, 16, 18, INK)
    c.line(12, 2, 16, 6, INK)
    c.line(12, 2, 12, 6, INK)
    c.line(12, 6, 16, 6, INK)
    # A spark: the sheet is new.
    c.line(3, 4, 7, 4, colour)
    c.line(5, 2, 5, 6, colour)
    c.put(4, 3, colour)
    c.put(6, 5, colour)


@picture((216, 160, 32), TOOLBAR_PICTURES)
def open_folder(c, colour):
    back = (176, 120, 16)
    c.rect(2, 5, 7, 6, back)
    c.rect(2, 6, 15, 17, back)
    fill_polygon(c, [(5, 10), (19, 10), (15, 18), (1, 18)], colour)
    c.line(5, 10, 19, 10, INK)
    c.line(1, 17, 15, 17, INK)
    # The sheet coming out of it.
    c.rect(7, 3, 13, 9, (255, 255, 255))
    c.frame(7, 3, 13, 9, INK)


@picture((0, 64, 176), TOOLBAR_PICTURES)
def save_disk(c, colour):
    c.rect(3, 3, 17, 17, colour)
    c.frame(3, 3, 17, 17, INK)
    c.rect(6, 4, 14, 9, (255, 255, 255))  # the label
    c.line(7, 6, 13, 6, PIN)
    c.rect(7, 12, 13, 17, (96, 96, 104))  # the shutter
    c.rect(11, 13, 12, 16, colour)


@picture((0, 150, 0), TOOLBAR_PICTURES)
def read_chip(c, colour):
    small_chip(c, 3, 13, 17, 17)
    arrow_up(c, 10, 1, 11, colour)  # out of the chip into the image


@picture((208, 0, 0), TOOLBAR_PICTURES)
def write_chip(c, colour):
    small_chip(c, 3, 13, 17, 17)
    arrow_down(c, 10, 1, 10, colour)  # from the image into the chip


@picture((0, 112, 240), TOOLBAR_PICTURES)
def verify_chip(c, colour):
    small_chip(c, 3, 13, 17, 17)
    tick(c, 6, 2, colour)


@picture((255, 128, 0), TOOLBAR_PICTURES)
def auto_sequence(c, colour):
    small_chip(c, 3, 14, 17, 18)
    # Write, then verify: an arrow down followed by a tick.
    arrow_down(c, 5, 1, 10, (208, 0, 96))
    tick(c, 10, 3, colour)


@picture((0, 160, 160), TOOLBAR_PICTURES)
def blank_check(c, colour):
    small_chip(c, 2, 13, 12, 17, (255, 255, 255))  # an empty chip
    for y in range(2, 10):
        for x in range(8, 17):
            d = (x - 12) ** 2 + (y - 6) ** 2
            if 9 <= d <= 18:
                c.put(x, y, colour)
    c.line(9, 9, 6, 12, colour, 2)


@picture((128, 64, 192), TOOLBAR_PICTURES)
def special_features(c, colour):
    for y in range(21):
        for x in range(21):
            dx, dy = x - 10, y - 10
            d = dx * dx + dy * dy
            tooth = abs(dx) <= 1 or abs(dy) <= 1 or abs(abs(dx) - abs(dy)) <= 1
            if d <= 30 or (d <= 64 and tooth):
                c.put(x, y, colour)
    disc(c, 10, 10, 2, FACE)


@picture((240, 96, 160), TOOLBAR_PICTURES)
def erase_chip(c, colour):
    small_chip(c, 3, 14, 17, 18)
    fill_polygon(c, [(8, 2), (17, 2), (13, 11), (4, 11)], colour)
    fill_polygon(c, [(4, 11), (8, 11), (10, 7), (6, 7)], (255, 255, 255))
    c.line(8, 2, 4, 11, INK)
    c.line(17, 2, 13, 11, INK)
    c.line(4, 11, 13, 11, INK)
    c.line(8, 2, 17, 2, INK)


@picture((200, 160, 0), TOOLBAR_PICTURES)
def security_bits(c, colour):
    for y in range(2, 10):
        for x in range(5, 16):
            d = (x - 10) ** 2 + (y - 8) ** 2
            if 12 <= d <= 26 and y <= 8:
                c.put(x, y, (96, 96, 104))
    c.rect(6, 8, 14, 10, (96, 96, 104))
    c.rect(4, 9, 16, 18, colour)
    c.frame(4, 9, 16, 18, INK)
    c.rect(9, 12, 11, 13, INK)
    c.rect(10, 14, 10, 16, INK)


@picture((96, 96, 0), TOOLBAR_PICTURES)
def set_mode(c, colour):
    # A two-way switch on a board line: program on one side, run on the other.
    c.rect(2, 12, 18, 14, INK)
    c.rect(3, 15, 4, 17, PIN)
    c.rect(16, 15, 17, 17, PIN)
    c.line(10, 12, 5, 3, colour, 2)
    disc(c, 5, 3, 2, colour)


@picture((0, 96, 255), TOOLBAR_PICTURES)
def check_connection(c, colour):
    # Two plugs meeting on a cable.
    c.rect(1, 9, 5, 11, colour)
    c.rect(6, 6, 9, 14, INK)
    c.rect(10, 8, 11, 8, PIN)
    c.rect(10, 12, 11, 12, PIN)
    c.rect(12, 6, 14, 14, (96, 96, 104))
    c.rect(15, 9, 19, 11, colour)


@picture((32, 64, 144), TOOLBAR_PICTURES)
def about(c, colour):
    disc(c, 10, 10, 8, colour)
    c.rect(9, 4, 11, 6, (255, 255, 255))
    c.rect(9, 8, 11, 15, (255, 255, 255))
    c.rect(8, 15, 12, 15, (255, 255, 255))


# The Set Mode button's faces: program mode (a pencil over the chip), run mode (a play sign),
# the frame's port closed (an open switch with a cross).
@picture((224, 32, 96), SET_MODE_PICTURES)
def mode_program(c, colour):
    small_chip(c, 3, 14, 17, 18)
    fill_polygon(c, [(13, 1), (17, 5), (9, 13), (5, 9)], colour)
    fill_polygon(c, [(5, 9), (9, 13), (4, 14)], (255, 224, 160))
    c.put(4, 13, INK)


@picture((32, 224, 96), SET_MODE_PICTURES)
def mode_run(c, colour):
    fill_polygon(c, [(5, 2), (18, 10.5), (5, 19)], colour)
    c.line(5, 2, 5, 18, INK)
    c.line(5, 2, 17, 10, INK)
    c.line(5, 18, 17, 11, INK)


@picture((96, 32, 224), SET_MODE_PICTURES)
def mode_closed(c, colour):
    c.rect(1, 9, 5, 11, INK)
    c.rect(15, 9, 19, 11, INK)
    c.line(5, 10, 13, 4, INK, 2)
    c.line(7, 12, 14, 19, colour, 2)
    c.line(14, 12, 7, 19, colour, 2)


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

    # The main toolbar: one 21-pixel square per button, in the buttons' order (New, Open, Save,
    # Read, Write, Verify, AutoSequence, Blank check, Special features, Erase, Security bits,
    # Set Mode, Check connection, About), on the button face's grey.
    toolbar = Canvas(21 * len(TOOLBAR_PICTURES), 21, FACE)
    for i, (draw, colour) in enumerate(TOOLBAR_PICTURES):
        image = Canvas(21, 21, FACE)
        draw(image, colour)
        for y in range(21):
            toolbar.px[y][i * 21:(i + 1) * 21] = image.px[y]
    write_bmp_palette("toolbar.bmp", toolbar)
    # The Set Mode button's three faces: program mode, run mode, port closed.
    for name, (draw, colour) in zip(["mode_program.bmp", "mode_run.bmp", "mode_closed.bmp"],
                                    SET_MODE_PICTURES):
        image = Canvas(21, 21, FACE)
        draw(image, colour)
        write_bmp_palette(name, image)


if __name__ == "__main__":
    main()
