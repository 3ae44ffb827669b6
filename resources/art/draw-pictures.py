#!/usr/bin/python3
"""Draws every picture of the program into resources/pictures/.

Run it with the system Python and Pillow (Debian package python3-pil):

    /usr/bin/python3 resources/art/draw-pictures.py [--preview DIR]

The outputs are committed, so the build never needs this script. With --preview DIR it also
writes enlarged PNG views of every picture and a mock-up of the about box into DIR.

House style: a white window with a blue title bar (#3f7fd6) and a dark navy frame (#1b3a6b),
the finder's orange cross-hair (#ff8c1a), flat shapes with one-pixel dark outlines. The small
pictures are drawn pixel by pixel at their real size (round shapes are traced from drawings
eight times larger, then outlined by pixel); the large ones are drawn four times larger and
scaled down. The dark pictures of the about box share one texture: a faint twelve-pixel
blueprint grid on near-black navy, so that they join without seams.

Outputs (resource identifiers as used in wyndo.rc):
  splash.jpg        101  splash screen and top of the about box, 649 x 192
  logo.jpg          102  the maker's logo, 143 x 47, drawn at (13, 414) of the about box
  hidden.jpg        103  the about box's hidden picture, 220 x 178
  band.bmp          201  band pattern above and below the credits, 12 x 12, 24 bits
  side_left.jpg     202  left of the credits, 150 x 12
  side_right.jpg    203  right of the credits, 150 x 12 (the left one mirrored)
  finder_tool.bmp   401  finder tool: window with cross-hair, 31 x 30, 16 colours
  finder_empty.bmp  402  finder tool during a drag: the window alone, 31 x 30, 16 colours
  finder.cur        301  finder cursor, 32 x 32 monochrome, hot spot (15, 15)
  wyndo.ico         MAINICON  program icon, 48/32/16 pixels
  list_windows.ico, list_processes.ico, list_threads.ico, list_modules.ico   501..504
  std_window.ico    STDICON  generic window for windows without an icon, 16 colours
  main_big.bmp      IMG_MAIN_BIG     7 tool bar images, 32 x 32
  main_small.bmp    IMG_MAIN_SMALL   4 menu images, 18 x 18
  list_toolbar.bmp  IMG_LIST_TOOLBAR 7 list window tool bar images, 32 x 32
  list_nodes.bmp    IMG_LIST_NODES   4 tree node images, 18 x 18
  filter.bmp        IMG_FILTER       filter button glyph, 28 x 28
The image-list strips are 24-bit bitmaps whose transparent pixels are magenta (255, 0, 255).
"""
import math
import pathlib
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = pathlib.Path(__file__).resolve().parent
OUT = HERE.parent / "pictures"
FONTS = pathlib.Path("/usr/share/fonts/truetype/dejavu")

# ---------------------------------------------------------------------------------------------
# Colours
# ---------------------------------------------------------------------------------------------

NAVY = (0x1B, 0x3A, 0x6B)        # window frames, outlines
BLUE = (0x3F, 0x7F, 0xD6)        # title bars
BLUE_LIGHT = (0x8F, 0xB8, 0xEE)  # highlights on blue
CLIENT = (0xFF, 0xFF, 0xFF)      # window client area
PAPER = (0xF4, 0xF7, 0xFB)       # sheets
LINE = (0xC3, 0xD2, 0xE6)        # text lines on white
LINE_DARK = (0x8A, 0xA0, 0xBF)   # tree connectors
ORANGE = (0xFF, 0x8C, 0x1A)      # the cross-hair
ORANGE_DARK = (0xB3, 0x55, 0x00)
ORANGE_LIGHT = (0xFF, 0xC2, 0x80)
STEEL = (0x9A, 0xAB, 0xC2)       # the process gear
STEEL_LIGHT = (0xD2, 0xDB, 0xE8)
STEEL_DARK = (0x34, 0x44, 0x5E)
GREEN = (0x4F, 0xB0, 0x4A)       # the module piece
GREEN_LIGHT = (0x9A, 0xD8, 0x8C)
GREEN_DARK = (0x23, 0x66, 0x22)
WHITE = (0xFF, 0xFF, 0xFF)
BLACK = (0, 0, 0)
MAGENTA = (0xFF, 0x00, 0xFF)

# The about box's dark texture.
DARK = (0x0B, 0x12, 0x20)        # band base, bottom of the splash gradient
DARK_GRID = (0x13, 0x1D, 0x31)   # grid lines
DARK_KNOT = (0x1A, 0x27, 0x40)   # where grid lines cross
TOP = (0x17, 0x2E, 0x56)         # top of the splash gradient
TEXT_GREY = (0xE4, 0xE4, 0xE4)   # the about box's labels

# Keys of the pixel drawings below.
KEYS = {
    ".": None,
    "K": NAVY, "B": BLUE, "b": BLUE_LIGHT, "W": CLIENT, "p": PAPER, "l": LINE, "d": LINE_DARK,
    "O": ORANGE, "o": ORANGE_DARK, "y": ORANGE_LIGHT,
    "S": STEEL, "s": STEEL_LIGHT, "k": STEEL_DARK,
    "G": GREEN, "g": GREEN_LIGHT, "q": GREEN_DARK,
    "X": BLACK, "w": WHITE,
}

# The standard 16-colour VGA palette, in the order Windows uses.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


# ---------------------------------------------------------------------------------------------
# Pixel drawing helpers
# ---------------------------------------------------------------------------------------------

def sprite(text, keys=KEYS):
    """An RGBA image from rows of key characters (blank lines and indentation ignored)."""
    rows = [row.strip() for row in text.strip("\n").splitlines() if row.strip()]
    width = max(len(row) for row in rows)
    image = Image.new("RGBA", (width, len(rows)), (0, 0, 0, 0))
    for y, row in enumerate(rows):
        for x, key in enumerate(row):
            colour = keys[key]
            if colour is not None:
                image.putpixel((x, y), colour + (255,))
    return image


def canvas(width, height):
    return Image.new("RGBA", (width, height), (0, 0, 0, 0))


def put(target, image, x, y):
    """Draws image over target at (x, y), blending by alpha."""
    layer = canvas(*target.size)
    layer.paste(image, (x, y))
    target.alpha_composite(layer)


def rect(image, x0, y0, x1, y1, fill=None, outline=None):
    """Inclusive pixel rectangle."""
    draw = ImageDraw.Draw(image)
    if fill is not None:
        draw.rectangle((x0, y0, x1, y1), fill=fill + (255,))
    if outline is not None:
        draw.rectangle((x0, y0, x1, y1), outline=outline + (255,))


def hline(image, x0, x1, y, colour):
    ImageDraw.Draw(image).line((x0, y, x1, y), fill=colour + (255,))


def vline(image, x, y0, y1, colour):
    ImageDraw.Draw(image).line((x, y0, x, y1), fill=colour + (255,))


def pixel(image, x, y, colour):
    image.putpixel((x, y), colour + (255,))


def font(name, size):
    return ImageFont.truetype(str(FONTS / name), round(size))


def shaded(text, outline, fill, light=None, hole=None):
    """A sprite from a silhouette: '#' is the shape, '.' is outside. Pixels of the shape that
    touch the outside (left, right, above or below) become the outline colour, the rest the fill;
    inner pixels just below or right of the outline get the light colour (a bevel lit from the
    top left); `hole` fills enclosed holes."""
    rows = [row.strip() for row in text.strip("\n").splitlines() if row.strip()]
    height, width = len(rows), max(len(row) for row in rows)
    inside = [[x < len(row) and row[x] != "." for x in range(width)] for row in rows]
    # Outside pixels reachable from the border (the rest of the outside is a hole).
    reach = set()
    todo = [(x, y) for x in range(width) for y in (0, height - 1)] + \
           [(x, y) for y in range(height) for x in (0, width - 1)]
    while todo:
        x, y = todo.pop()
        if (x, y) in reach or not (0 <= x < width and 0 <= y < height) or inside[y][x]:
            continue
        reach.add((x, y))
        todo += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]

    def outer(x, y):
        return not (0 <= x < width and 0 <= y < height) or (x, y) in reach

    image = canvas(width, height)
    for y in range(height):
        for x in range(width):
            if not inside[y][x]:
                if hole is not None and (x, y) not in reach:
                    pixel(image, x, y, hole)
                continue
            edge = any(not (0 <= x + dx < width and 0 <= y + dy < height and inside[y + dy][x + dx])
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            lit = light is not None and (outer(x - 2, y) or outer(x, y - 2))
            pixel(image, x, y, outline if edge else (light if lit else fill))
    return image


def ring_mask(size, cx, cy, r_in, r_out):
    """Pixels whose centres lie between two radii: a crisp ring for pixel drawings."""
    return {(x, y) for x in range(size) for y in range(size)
            if r_in <= math.hypot(x - cx, y - cy) <= r_out}


# ---------------------------------------------------------------------------------------------
# The vocabulary: window, process (gear), thread (spool), module (puzzle piece)
# ---------------------------------------------------------------------------------------------

def window_sprite(width, height, title=3, lines=True, buttons=True, frame=1):
    """The house window: navy frame with rounded corners, blue title bar, white client with a
    few light text lines."""
    image = canvas(width, height)
    rect(image, 0, 0, width - 1, height - 1, fill=NAVY)
    rect(image, frame, frame, width - 1 - frame, frame + title - 1, fill=BLUE)
    rect(image, frame, frame + title, width - 1 - frame, height - 1 - frame, fill=CLIENT)
    for (x, y) in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
        image.putpixel((x, y), (0, 0, 0, 0))
    if buttons and width >= 10:
        y = frame + title // 2
        step = 2 if width < 20 else 3
        size = 1 if width < 20 else 2
        for i in range(2):
            x = width - 1 - frame - step * (i + 1) + (1 if width < 20 else 0)
            rect(image, x, y - (size - 1) // 2 - (1 if size == 2 and title % 2 == 0 else 0),
                 x + size - 1, y + size // 2 - (1 if size == 2 and title % 2 == 0 else 0), fill=WHITE)
    if lines:
        top = frame + title + 2 if height >= 16 else frame + title + 1
        inner = width - 2 * frame
        lengths = (0.55, 0.8, 0.4, 0.7, 0.5, 0.75, 0.45)
        y, i = top, 0
        while y <= height - 2 - frame - (1 if height >= 16 else 0):
            length = max(2, round((inner - 4) * lengths[i % len(lengths)]))
            hline(image, frame + 2, frame + 1 + length, y, LINE)
            y += 2
            i += 1
    return image


GEAR_13 = """
.....###.....
.##..###..##.
.###########.
..#########..
..#########..
#####...#####
#####...#####
#####...#####
..#########..
..#########..
.###########.
.##..###..##.
.....###.....
"""
GEAR_16 = """
......####......
......####......
..###.####.###..
..############..
..############..
...####..####...
.#####....#####.
######....######
######....######
.#####....#####.
...####..####...
..############..
..############..
..###.####.###..
......####......
......####......
"""
GEAR_20 = """
.........##.........
........####........
....#...####...#....
...###..####..###...
..################..
...##############...
....######..####....
....#####...####....
.#######....#######.
#######......#######
#######......#######
.#######....#######.
....#####..#####....
....############....
...##############...
..################..
...###..####..###...
....#...####...#....
........####........
.........##.........
"""

PIECE_13 = """
...###.......
..#####......
..#####......
...###.......
#########....
#########....
#########.##.
#############
#############
#############
#########.##.
#########....
#########....
"""
PIECE_16 = """
.....####.......
....######......
....######......
.....####.......
############....
############....
############.##.
################
################
################
################
############.##.
############....
############....
############....
############....
"""
PIECE_20 = """
.....####...........
....######..........
...########.........
...########.........
....######..........
##############......
##############......
##############......
##############..##..
##############.####.
####################
####################
####################
####################
##############.####.
##############..##..
##############......
##############......
##############......
##############......
"""

SPOOL_13 = """
.KKKKKKKKK...
KbbbbbbbbbK..
.KKKKKKKKK...
..oOOOOOo....
..oyyyyyo....
..oOOOOOo....
..oyyyyyoo...
..oOOOOOo.o..
.KKKKKKKKKo..
KBBBBBBBBBKo.
.KKKKKKKKK.o.
..........o..
.........o...
"""
SPOOL_16 = """
.KKKKKKKKKKKK...
KbbbbbbbbbbbbK..
KBBBBBBBBBBBBK..
.KKKKKKKKKKKK...
..oOOOOOOOOo....
..oyyyyyyyyo....
..oOOOOOOOOo....
..oyyyyyyyyo....
..oOOOOOOOOo....
..oyyyyyyyyoo...
..oOOOOOOOOo.o..
.KKKKKKKKKKKKo..
KbbbbbbbbbbbbKo.
KBBBBBBBBBBBBK.o
.KKKKKKKKKKKK..o
..............o.
"""
SPOOL_20 = """
.KKKKKKKKKKKKKKKK...
KbbbbbbbbbbbbbbbbK..
KBBBBBBBBBBBBBBBBK..
.KKKKKKKKKKKKKKKK...
...oOOOOOOOOOOo.....
...oyyyyyyyyyyo.....
...oOOOOOOOOOOo.....
...oyyyyyyyyyyo.....
...oOOOOOOOOOOo.....
...oyyyyyyyyyyo.....
...oOOOOOOOOOOo.....
...oyyyyyyyyyyoo....
...oOOOOOOOOOOo.o...
...oyyyyyyyyyyo..o..
.KKKKKKKKKKKKKKKKo..
KbbbbbbbbbbbbbbbbKo.
KBBBBBBBBBBBBBBBBK.o
.KKKKKKKKKKKKKKKK..o
..................o.
................oo..
"""


def gear(size):
    text = {13: GEAR_13, 16: GEAR_16, 20: GEAR_20}[size]
    return shaded(text, STEEL_DARK, STEEL)


def piece(size):
    text = {13: PIECE_13, 16: PIECE_16, 20: PIECE_20}[size]
    return shaded(text, GREEN_DARK, GREEN, GREEN_LIGHT)


def spool(size):
    return sprite({13: SPOOL_13, 16: SPOOL_16, 20: SPOOL_20}[size])


def symbol(kind, size):
    """The kind's symbol at one of three sizes: 'small' (13), 'node' (16), 'large' (20)."""
    if kind == "window":
        return {"small": lambda: window_sprite(13, 11, title=3),
                "node": lambda: window_sprite(16, 14, title=3),
                "large": lambda: window_sprite(20, 17, title=4)}[size]()
    if kind == "process":
        return gear({"small": 13, "node": 16, "large": 20}[size])
    if kind == "thread":
        return spool({"small": 13, "node": 16, "large": 20}[size])
    return piece({"small": 13, "node": 16, "large": 20}[size])


KINDS = ("window", "process", "thread", "module")


# ---------------------------------------------------------------------------------------------
# Compositions: list sheets, property cards
# ---------------------------------------------------------------------------------------------

def tree_sheet(width, height, pitch):
    """A sheet of paper showing a small tree: node markers with text lines, children indented
    and joined to their parent by a dotted line (at the larger sizes)."""
    image = canvas(width, height)
    rect(image, 0, 0, width - 1, height - 1, fill=PAPER, outline=LINE_DARK)
    marker = 2 if pitch >= 4 else 1
    levels = (0, 1, 1, 0, 1, 1, 0, 1)
    lengths = (9, 7, 10, 8, 6, 9, 7, 8)
    parent_bottom = None
    y, i = 2, 0
    while y + marker <= height - 2:
        level = levels[i % len(levels)]
        x = 2 + level * (marker + 2)
        mid = y + (marker - 1) // 2
        if level == 0:
            parent_bottom = y + marker
        elif marker > 1:
            for cy in range(parent_bottom, mid + 1):
                if (cy - parent_bottom) % 2 == 1 or cy == mid:
                    pixel(image, 2, cy, LINE_DARK)
            for cx in range(3, x - 1):
                if (cx + mid) % 2 == 0:
                    pixel(image, cx, mid, LINE_DARK)
        rect(image, x, y, x + marker - 1, y + marker - 1, fill=BLUE)
        end = min(width - 3, x + marker + 1 + round(lengths[i % len(lengths)] * width / 21))
        if end > x + marker + 1:
            hline(image, x + marker + 1, end, mid, LINE)
        y += pitch
        i += 1
    return image


def cut_out(image, mark, x, y):
    """Draws mark over image at (x, y), first clearing a one-pixel gap around it."""
    alpha = mark.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
    # Holes inside the mark count as part of it.
    outside = alpha.copy()
    ImageDraw.floodfill(outside, (0, 0), 128)
    alpha = outside.point(lambda a: 0 if a == 128 else 255)
    gap = Image.new("L", image.size, 0)
    gap.paste(alpha.filter(ImageFilter.MaxFilter(3)), (x, y))
    cleared = image.copy()
    cleared.putalpha(ImageChops.subtract(image.getchannel("A"), gap))
    put(cleared, mark, x, y)
    return cleared


def list_picture(kind, size):
    """A list window's picture: the tree sheet with the kind's symbol in front of it."""
    image = canvas(size, size)
    if size == 16:
        put(image, tree_sheet(11, 14, 3), 0, 0)
        mark = symbol(kind, "small")
    elif size == 18:
        put(image, tree_sheet(12, 15, 3), 1, 0)
        mark = symbol(kind, "small")
    else:
        put(image, tree_sheet(21, 26, 4), 1, 1)
        mark = symbol(kind, "large")
    return cut_out(image, mark, size - mark.width, size - mark.height)


# ---------------------------------------------------------------------------------------------
# The cross-hair
# ---------------------------------------------------------------------------------------------

def crosshair_points(radius=7, arm_from=3, arm_to=10):
    """The finder's glyph, relative to its centre: a one-pixel circle, a cross open at the
    middle with a dot in it, and a tick mark across the end of each arm."""
    points = {(x, y) for x in range(-arm_to - 1, arm_to + 2) for y in range(-arm_to - 1, arm_to + 2)
              if abs(math.hypot(x, y) - radius) < 0.5}
    for r in range(arm_from, arm_to + 1):
        points |= {(r, 0), (-r, 0), (0, r), (0, -r)}
    points.add((0, 0))
    for t in (-1, 1):
        points |= {(arm_to, t), (-arm_to, t), (t, arm_to), (t, -arm_to)}
    return points


# The program icon's cross-hair at 16 pixels, drawn by hand: ring, arms, white halo.
CROSSHAIR_16 = """
....wOw....
....wOw....
..wOOOOOw..
.wOOwOwOOw.
wwOwwwwwOww
OOOOwwwOOOO
wwOwwwwwOww
.wOOwOwOOw.
..wOOOOOw..
....wOw....
....wOw....
"""


def orange_crosshair(size, cx, cy, radius, width, arm, gap, halo=1.0, glass=70, scale=8):
    """The orange cross-hair of the program icon and the large pictures, smooth: a ring
    `width` pixels wide, arms as wide reaching `arm` pixels from the centre, open by `gap`
    around it, a pale orange glass inside the ring and a white halo that keeps it apart from
    what lies under it. (cx, cy) is in pixel units, 0 being the left edge of the first pixel."""

    def shape(draw, s, grow, fill):
        r_out, r_in = (radius + width / 2 + grow) * s, (radius - width / 2 - grow) * s
        draw.ellipse((cx * s - r_out, cy * s - r_out, cx * s + r_out, cy * s + r_out), fill=fill)
        draw.ellipse((cx * s - r_in, cy * s - r_in, cx * s + r_in, cy * s + r_in), fill=(0, 0, 0, 0))
        w, a, g = (width / 2 + grow) * s, (arm + grow) * s, (gap - grow) * s
        for sign in (-1, 1):
            x0, x1 = sorted((cx * s + sign * g, cx * s + sign * a))
            y0, y1 = sorted((cy * s + sign * g, cy * s + sign * a))
            draw.rectangle((x0, cy * s - w, x1, cy * s + w), fill=fill)
            draw.rectangle((cx * s - w, y0, cx * s + w, y1), fill=fill)

    big = size * scale
    halo_layer = canvas(big, big)
    shape(ImageDraw.Draw(halo_layer), scale, halo, WHITE + (255,))
    glass_layer = canvas(big, big)
    r = (radius - width / 2) * scale
    box = (cx * scale - r, cy * scale - r, cx * scale + r, cy * scale + r)
    ImageDraw.Draw(glass_layer).ellipse(box, fill=WHITE + (235,))
    tint = canvas(big, big)
    ImageDraw.Draw(tint).ellipse(box, fill=ORANGE_LIGHT + (glass,))
    glass_layer.alpha_composite(tint)
    body = canvas(big, big)
    shape(ImageDraw.Draw(body), scale, 0, ORANGE + (255,))
    result = canvas(big, big)
    result.alpha_composite(halo_layer)
    result.alpha_composite(glass_layer)
    result.alpha_composite(body)
    return result.resize((size, size), Image.BOX)


def program_icon(size):
    """The program icon: the house window under the orange cross-hair."""
    image = canvas(size, size)
    if size == 16:
        put(image, window_sprite(14, 12, title=3), 0, 1)
        mark = canvas(16, 16)
        put(mark, sprite(CROSSHAIR_16), 5, 5)
    elif size == 32:
        put(image, window_sprite(26, 23, title=5, frame=2), 1, 2)
        mark = orange_crosshair(32, 21.5, 21.5, 7, 2, 10.5, 2.5)
    else:
        put(image, window_sprite(39, 34, title=7, frame=2), 2, 4)
        mark = orange_crosshair(48, 32, 32, 10.5, 3, 16, 3.5)
    image.alpha_composite(mark)
    return image


def node_picture(kind):
    """A tree node's picture, 18 x 18: the kind's symbol in the middle."""
    image = canvas(18, 18)
    mark = symbol(kind, "node")
    put(image, mark, (18 - mark.width) // 2, (18 - mark.height) // 2)
    return image


def silhouette(width, height, paint, scale=8):
    """A silhouette text for shaded(): paint(draw, s) draws the shape in white on a canvas `s`
    times larger; a pixel belongs to the shape when at least half of it is covered."""
    big = Image.new("L", (width * scale, height * scale), 0)
    paint(ImageDraw.Draw(big), scale)
    small = big.resize((width, height), Image.BOX)
    return "\n".join("".join("#" if small.getpixel((x, y)) >= 128 else "." for x in range(width))
                     for y in range(height))


# ---------------------------------------------------------------------------------------------
# Tool bar pictures, 32 x 32
# ---------------------------------------------------------------------------------------------

def settings_picture():
    """Properties of the program: a dialog window with three sliders."""
    image = canvas(32, 32)
    put(image, window_sprite(28, 25, title=5, frame=2, lines=False), 2, 3)
    knobs = (9, 20, 13)
    for i, y in enumerate((13, 18, 23)):
        hline(image, 6, 25, y, LINE_DARK)
        hline(image, 6, knobs[i] - 1, y, BLUE)
        x = knobs[i]
        rect(image, x - 1, y - 2, x + 1, y + 2, fill=BLUE_LIGHT, outline=NAVY)
    return image


def find_window_picture():
    """Find Window: the orange cross-hair over a window, as in the program icon."""
    return program_icon(32)


def stations_picture():
    """Window stations: a screen holding a desktop with two windows."""
    image = canvas(32, 32)
    rect(image, 1, 3, 30, 24, fill=NAVY)
    for (x, y) in ((1, 3), (30, 3), (1, 24), (30, 24)):
        image.putpixel((x, y), (0, 0, 0, 0))
    rect(image, 3, 5, 28, 22, fill=BLUE_LIGHT)
    hline(image, 3, 28, 22, BLUE)
    put(image, window_sprite(14, 11, title=3), 5, 7)
    put(image, window_sprite(14, 11, title=3), 12, 10)
    rect(image, 13, 25, 18, 27, fill=STEEL, outline=STEEL_DARK)
    rect(image, 8, 27, 23, 29, fill=STEEL, outline=STEEL_DARK)
    hline(image, 9, 22, 28, STEEL_LIGHT)
    rect(image, 14, 25, 17, 26, fill=STEEL)
    return image


def grown(text):
    """A silhouette one pixel larger all round (left, right, above, below), so that the outline
    that shaded() draws lies outside the original shape: thin points stay filled."""
    rows = text.splitlines()
    height, width = len(rows), len(rows[0])
    inside = {(x, y) for y in range(height) for x in range(width) if rows[y][x] != "."}
    more = inside | {(x + dx, y + dy) for (x, y) in inside for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))}
    return "\n".join("".join("#" if (x, y) in more else "." for x in range(width)) for y in range(height))


def refresh_picture():
    """Refresh: two arrows chasing each other round a circle."""
    def paint(draw, s):
        c, r_out, r_in = 16 * s, 10.5 * s, 6.5 * s
        span, head, grow = 112, 48, 3.8
        for start in (200, 20):
            draw.pieslice((c - r_out, c - r_out, c + r_out, c + r_out), start, start + span, fill=255)
        draw.ellipse((c - r_in, c - r_in, c + r_in, c + r_in), fill=0)
        for start in (200, 20):
            # the arrow head at the end of the arc, pointing clockwise along it
            a = math.radians(start + span)
            tip = math.radians(start + span + head)
            mid = (r_out + r_in) / 2
            draw.polygon([(c + (r_in - grow * s) * math.cos(a), c + (r_in - grow * s) * math.sin(a)),
                          (c + (r_out + grow * s) * math.cos(a), c + (r_out + grow * s) * math.sin(a)),
                          (c + mid * math.cos(tip), c + mid * math.sin(tip))], fill=255)
    return shaded(grown(silhouette(32, 32, paint)), NAVY, BLUE, BLUE_LIGHT)


def highlight_picture():
    """Highlight window: a window inside the finder's marking frame (orange dashes, as the
    splash screen shows a found window)."""
    image = canvas(32, 32)
    put(image, window_sprite(22, 22, title=4), 5, 5)
    for i in range(28):
        on = i % 6 < 4
        for t in (0, 1):
            if on:
                for (x, y) in ((2 + i, 2 + t), (2 + i, 29 - t), (2 + t, 2 + i), (29 - t, 2 + i)):
                    pixel(image, x, y, ORANGE)
    return image


def property_card(width, height):
    """A property list: a card with a title band and rows of names and values."""
    image = canvas(width, height)
    rect(image, 0, 0, width - 1, height - 1, fill=CLIENT, outline=NAVY)
    rect(image, 1, 1, width - 2, 3, fill=BLUE)
    split = 7
    rect(image, 1, 4, split - 1, height - 2, fill=PAPER)
    vline(image, split, 4, height - 2, LINE)
    widths = (6, 8, 4, 7, 5)
    y, i = 6, 0
    while y <= height - 3:
        hline(image, 2, 5, y, LINE_DARK)
        hline(image, split + 2, min(width - 3, split + 1 + widths[i % len(widths)]), y, BLUE)
        if y + 2 <= height - 3:
            hline(image, 1, width - 2, y + 2, LINE)
        y += 4
        i += 1
    return image


def properties_picture(kind):
    image = canvas(32, 32)
    put(image, symbol(kind, "node"), 0, 0)
    return cut_out(image, property_card(19, 21), 13, 11)


def magnifier(size, lens_c, lens_r, ring, handle_to, handle_w):
    """A magnifying glass: steel ring, pale blue glass with a glint, navy handle."""
    def paint_ring(draw, s):
        c, ro = lens_c * s, (lens_r + ring) * s
        draw.ellipse((c - ro, c - ro, c + ro, c + ro), fill=255)
        # the handle, a thick line from the ring to handle_to
        a = math.radians(45)
        w = handle_w * s / 2
        x0, y0 = c + (lens_r + ring - 1) * s * math.cos(a), c + (lens_r + ring - 1) * s * math.sin(a)
        x1 = y1 = handle_to * s
        dx, dy = -math.sin(a) * w, math.cos(a) * w
        draw.polygon([(x0 + dx, y0 + dy), (x0 - dx, y0 - dy), (x1 - dx, y1 - dy), (x1 + dx, y1 + dy)], fill=255)
        draw.ellipse((x1 - w, y1 - w, x1 + w, y1 + w), fill=255)
    outline = shaded(silhouette(size, size, paint_ring), NAVY, NAVY)

    def paint_glass(draw, s):
        c, r = lens_c * s, lens_r * s
        draw.ellipse((c - r, c - r, c + r, c + r), fill=255)
    glass = shaded(silhouette(size, size, paint_glass), STEEL_DARK, BLUE_LIGHT)
    image = outline
    # the handle's lit inner part
    def paint_handle(draw, s):
        a = math.radians(45)
        w = (handle_w - 2) * s / 2
        start = lens_r + ring + 1.5
        x0, y0 = (lens_c + start * math.cos(a)) * s, (lens_c + start * math.sin(a)) * s
        x1 = y1 = (handle_to - 1.2) * s
        dx, dy = -math.sin(a) * w, math.cos(a) * w
        draw.polygon([(x0 + dx, y0 + dy), (x0 - dx, y0 - dy), (x1 - dx, y1 - dy), (x1 + dx, y1 + dy)], fill=255)
    handle = silhouette(size, size, paint_handle)
    for y, row in enumerate(handle.splitlines()):
        for x, key in enumerate(row):
            if key == "#":
                pixel(image, x, y, BLUE)
    ring_layer = canvas(size, size)
    for (x, y) in ring_mask(size, lens_c - 0.5, lens_c - 0.5, lens_r + 0.2, lens_r + ring - 0.6):
        pixel(ring_layer, x, y, STEEL)
    image.alpha_composite(ring_layer)
    image.alpha_composite(glass)
    # glint
    for (x, y) in ring_mask(size, lens_c - 0.5, lens_c - 0.5, lens_r - 3.2, lens_r - 2.2):
        dx, dy = x - lens_c + 0.5, y - lens_c + 0.5
        if dx < -0.5 and dy < -0.5 and abs(dx - dy) < lens_r * 0.9:
            pixel(image, x, y, WHITE)
    return image


def search_picture():
    return magnifier(32, 13, 8, 2.5, 28, 5)


def filter_picture():
    """The filter button's funnel, kept to the top right (the button draws a check box in the
    bottom left corner)."""
    def paint(draw, s):
        draw.polygon([(9 * s, 2 * s), (27 * s, 2 * s), (27 * s, 5 * s), (21 * s, 12 * s),
                      (21 * s, 22 * s), (17 * s, 25 * s), (17 * s, 12 * s), (9 * s, 5 * s)], fill=255)
    image = shaded(silhouette(28, 28, paint), NAVY, BLUE, BLUE_LIGHT)
    # the funnel's mouth
    hline(image, 10, 25, 4, NAVY)
    hline(image, 10, 25, 3, BLUE_LIGHT)
    return image


# ---------------------------------------------------------------------------------------------
# Sixteen-colour pictures: the finder tool and the standard window icon
# ---------------------------------------------------------------------------------------------

def finder_tool(with_crosshair):
    """The finder tool, 31 x 30, as rows of VGA palette indexes: a window filling the picture,
    the cross-hair centred in its client area."""
    width, height = 31, 30
    rows = [[15] * width for _ in range(height)]
    for x in range(width):
        rows[0][x] = rows[height - 1][x] = 4          # navy frame
    for y in range(height):
        rows[y][0] = rows[y][width - 1] = 4
    for y in range(1, 6):                             # title bar, blue
        for x in range(1, width - 1):
            rows[y][x] = 12
    for bx in (21, 25):                               # two caption buttons
        for y in (2, 3, 4):
            for x in (bx, bx + 1, bx + 2):
                rows[y][x] = 7 if y == 4 or x == bx + 2 else 15
    for x in range(1, width - 1):                     # shadow under the title bar
        rows[6][x] = 7
    if with_crosshair:
        cx, cy = 15, 17
        for (dx, dy) in crosshair_points():
            rows[cy + dy][cx + dx] = 0
        rows[cy][cx] = 9                              # red centre
    return rows


def std_icon(size):
    """The standard icon for windows without one: a plain window in the system's classic
    colours (silver frame with a raised edge, navy title bar, white client area), as rows of VGA
    palette indexes (None is transparent)."""
    rows = [[None] * size for _ in range(size)]

    def box(x0, y0, x1, y1, index):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                rows[y][x] = index

    if size == 32:
        left, top, right, bottom, title = 1, 3, 30, 28, 5
    else:
        left, top, right, bottom, title = 0, 1, 15, 14, 3
    box(left, top, right, bottom, 7)                  # silver frame
    box(left, bottom, right, bottom, 0)               # raised edge: black below and right,
    box(right, top, right, bottom, 0)
    box(left, top, right - 1, top, 15)                # white above and left
    box(left, top, left, bottom - 1, 15)
    if size == 32:
        box(left + 1, bottom - 1, right - 1, bottom - 1, 8)   # inner shadow
        box(right - 1, top + 1, right - 1, bottom - 1, 8)
    inset = 3 if size == 32 else 2
    t0 = top + inset
    box(left + inset, t0, right - inset, t0 + title - 1, 4)     # navy title bar
    if size == 32:
        for bx in (right - inset - 11, right - inset - 5):      # two caption buttons
            box(bx, t0 + 1, bx + 3, t0 + 3, 7)
            box(bx, t0 + 1, bx + 3, t0 + 1, 15)
            box(bx + 3, t0 + 1, bx + 3, t0 + 3, 0)
        box(left + inset + 2, t0 + 2, left + inset + 9, t0 + 2, 15)  # caption text
    else:
        box(right - inset - 1, t0 + 1, right - inset - 1, t0 + 1, 7)
    c0 = t0 + title + 1
    box(left + inset, c0, right - inset, bottom - inset, 15)     # client area, sunken
    box(left + inset, c0, right - inset, c0, 8)
    box(left + inset, c0, left + inset, bottom - inset, 8)
    return rows


def vga_image(rows):
    """An RGBA image of rows of VGA indexes (None transparent), for looking at and for icons."""
    image = canvas(len(rows[0]), len(rows))
    for y, row in enumerate(rows):
        for x, index in enumerate(row):
            if index is not None:
                pixel(image, x, y, VGA[index])
    return image


# ---------------------------------------------------------------------------------------------
# File formats
# ---------------------------------------------------------------------------------------------

def _dib_rows(width, height, bits, pixel_bytes):
    """Bottom-up rows padded to four bytes; pixel_bytes(y) gives the packed row y (top-down)."""
    stride = (width * bits + 31) // 32 * 4
    return b"".join(pixel_bytes(y).ljust(stride, b"\0") for y in reversed(range(height)))


def _pack_indexes(indexes, bits):
    data, value, used = bytearray(), 0, 0
    for index in indexes:
        value = (value << bits) | index
        used += bits
        if used == 8:
            data.append(value)
            value, used = 0, 0
    if used:
        data.append(value << (8 - used))
    return bytes(data)


def _info_header(width, height, bits, image_size, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 2835, 2835,
                       colours, colours)


def _file_header(info_and_data_size, offset):
    return b"BM" + struct.pack("<IHHI", 14 + info_and_data_size, 0, 0, offset)


def bmp24(image):
    """A 24-bit Windows bitmap file of an RGB image."""
    rgb = image.convert("RGB")
    width, height = rgb.size
    data = _dib_rows(width, height, 24, lambda y: b"".join(
        bytes(reversed(rgb.getpixel((x, y)))) for x in range(width)))
    info = _info_header(width, height, 24, len(data))
    return _file_header(len(info) + len(data), 14 + len(info)) + info + data


def bmp4(rows):
    """A 4-bit Windows bitmap file with the VGA palette from rows of palette indexes."""
    width, height = len(rows[0]), len(rows)
    data = _dib_rows(width, height, 4, lambda y: _pack_indexes(rows[y], 4))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in VGA)
    info = _info_header(width, height, 4, len(data), 16)
    return _file_header(len(info) + len(palette) + len(data), 14 + len(info) + len(palette)) + \
        info + palette + data


def _and_mask(width, height, transparent):
    return _dib_rows(width, height, 1, lambda y: _pack_indexes(
        [1 if transparent(x, y) else 0 for x in range(width)], 1))


# Semi-transparent edge pixels of pictures without alpha are mixed with this colour: the light
# grey of tool bars, menus and dialogs.
BACKDROP = (0xE8, 0xE8, 0xE8)


def flatten(image, backdrop=BACKDROP, threshold=128):
    """RGB colours and a transparency test for a picture that cannot keep an alpha channel:
    pixels at least half covered are mixed with the backdrop, the others are transparent."""
    rgba = image.convert("RGBA")
    base = Image.new("RGBA", rgba.size, backdrop + (255,))
    base.alpha_composite(rgba)
    alpha = rgba.getchannel("A")
    return base.convert("RGB"), (lambda x, y: alpha.getpixel((x, y)) < threshold)


def icon_image_32(image):
    width, height = image.size
    rgba = image.convert("RGBA")
    data = _dib_rows(width, height, 32, lambda y: b"".join(
        struct.pack("<BBBB", b, g, r, a) for (r, g, b, a) in (rgba.getpixel((x, y)) for x in range(width))))
    mask = _and_mask(width, height, lambda x, y: rgba.getpixel((x, y))[3] < 128)
    return _info_header(width, height * 2, 32, len(data) + len(mask)) + data + mask, width, height, 0, 32


def icon_image_8(image):
    """256 colours: the picture's own palette; partly transparent pixels are flattened."""
    width, height = image.size
    rgb, transparent = flatten(image)
    quantized = rgb.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = quantized.getpalette()[:768]
    palette += [0] * (768 - len(palette))
    data = _dib_rows(width, height, 8, lambda y: bytes(
        0 if transparent(x, y) else quantized.getpixel((x, y)) for x in range(width)))
    mask = _and_mask(width, height, transparent)
    table = b"".join(struct.pack("<BBBB", palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0)
                     for i in range(256))
    return _info_header(width, height * 2, 8, len(data) + len(mask), 256) + table + data + mask, \
        width, height, 0, 8


def icon_image_4(rows):
    """16 colours from rows of VGA indexes (None transparent)."""
    width, height = len(rows[0]), len(rows)
    data = _dib_rows(width, height, 4, lambda y: _pack_indexes(
        [0 if i is None else i for i in rows[y]], 4))
    mask = _and_mask(width, height, lambda x, y: rows[y][x] is None)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in VGA)
    return _info_header(width, height * 2, 4, len(data) + len(mask), 16) + table + data + mask, \
        width, height, 16, 4


def ico(images):
    """An icon file from (data, width, height, colour count, bits) entries."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    directory, blobs = b"", b""
    for data, width, height, colours, bits in images:
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, 1, bits,
                                 len(data), offset)
        blobs += data
        offset += len(data)
    return header + directory + blobs


def cursor_file(points, size=32, hot=(15, 15)):
    """A monochrome cursor: the glyph's points (relative to the hot spot) black with a white
    edge one pixel wide; everything else transparent."""
    black = {(hot[0] + x, hot[1] + y) for (x, y) in points}
    white = {(x + dx, y + dy) for (x, y) in black for dx in (-1, 0, 1) for dy in (-1, 0, 1)} - black
    white = {(x, y) for (x, y) in white if 0 <= x < size and 0 <= y < size}
    xor = _dib_rows(size, size, 1, lambda y: _pack_indexes(
        [1 if (x, y) in white else 0 for x in range(size)], 1))
    mask = _dib_rows(size, size, 1, lambda y: _pack_indexes(
        [0 if (x, y) in black or (x, y) in white else 1 for x in range(size)], 1))
    info = _info_header(size, size * 2, 1, len(xor) + len(mask), 2)
    data = info + struct.pack("<II", 0x000000, 0xFFFFFF) + xor + mask
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hot[0], hot[1], len(data), 6 + 16)
    return header + entry + data


def strip(images):
    """An image list strip: the images side by side on magenta, the transparent key colour."""
    width = sum(image.width for image in images)
    height = max(image.height for image in images)
    result = Image.new("RGB", (width, height), MAGENTA)
    x = 0
    for image in images:
        rgb, transparent = flatten(image)
        for py in range(image.height):
            for px in range(image.width):
                if not transparent(px, py):
                    result.putpixel((x + px, py), rgb.getpixel((px, py)))
        x += image.width
    return result


def jpeg(image, quality=95):
    """Baseline JPEG bytes without chroma subsampling, so that thin coloured lines stay sharp."""
    import io
    buffer = io.BytesIO()
    image.convert("RGB").save(buffer, "JPEG", quality=quality, subsampling=0, optimize=True)
    return buffer.getvalue()


# ---------------------------------------------------------------------------------------------
# The about box's dark pictures
# ---------------------------------------------------------------------------------------------

GRID = 12


def texture(x, y, base=DARK):
    """The dark texture at screen phase (x, y): a faint twelve-pixel grid on `base`."""
    on_x, on_y = x % GRID == 0, y % GRID == 0
    lift = (DARK_KNOT if on_x and on_y else DARK_GRID if on_x or on_y else DARK)
    return tuple(min(255, b + l - d) for b, l, d in zip(base, lift, DARK))


def band_tile():
    image = Image.new("RGB", (GRID, GRID))
    for y in range(GRID):
        for x in range(GRID):
            image.putpixel((x, y), texture(x, y))
    return image


def mix(a, b, t):
    return tuple(round(p + (q - p) * t) for p, q in zip(a, b))


def smooth(t):
    t = min(1.0, max(0.0, t))
    return t * t * (3 - 2 * t)


def text_width(draw, text, face, tracking=0):
    return sum(draw.textlength(ch, font=face) + tracking for ch in text) - tracking


def draw_text(draw, x, y, text, face, fill, tracking=0):
    """Text with extra space between letters; (x, y) is the left end of the baseline."""
    for ch in text:
        draw.text((x, y), ch, font=face, fill=fill, anchor="ls")
        x += draw.textlength(ch, font=face) + tracking


def rounded(draw, box, radius, fill):
    draw.rounded_rectangle(box, radius=radius, fill=fill)


def big_window(draw, s, x, y, w, h, title, frame, radius, caption=None, caption_face=None, dim=0.0):
    """The house window at any size, for pictures drawn s times larger; `dim` darkens it
    towards the dark background (a window further back)."""
    navy, blue, white = (mix(c, TOP, dim) + (255,) for c in (NAVY, BLUE, WHITE))
    X, Y, W, H = x * s, y * s, w * s, h * s
    rounded(draw, (X, Y, X + W, Y + H), radius * s, navy)
    f = frame * s
    r = max(1, radius - frame) * s
    draw.rounded_rectangle((X + f, Y + f, X + W - f, Y + f + title * s), radius=r, fill=blue)
    draw.rectangle((X + f, Y + f + r, X + W - f, Y + f + title * s), fill=blue)
    draw.rectangle((X + f, Y + f + title * s, X + W - f, Y + H - f), fill=white)
    # caption buttons
    bs = title * s * 0.42
    for i in range(2):
        bx = X + W - f - (i + 1) * bs * 1.55 - bs * 0.3
        by = Y + f + title * s / 2 - bs / 2
        draw.rounded_rectangle((bx, by, bx + bs, by + bs), radius=bs * 0.2, fill=white)
    if caption:
        draw.text((X + f + title * s * 0.45, Y + f + title * s / 2), caption, font=caption_face,
                  fill=white, anchor="lm")


def crosshair_layer(size_w, size_h, s, cx, cy, radius, width, arm, gap, tick=0, arm_width=None,
                    halo=0.0, glass=60, colour=ORANGE, face=False):
    """The orange cross-hair for the large pictures, drawn s times larger than (size_w, size_h):
    ring, arms (optionally thinner than the ring), tick marks across the arm ends, a translucent
    glass, an optional dark halo; with face=True the glass gets two eyes and a smile instead of
    inner arms."""
    layer = canvas(size_w * s, size_h * s)
    draw = ImageDraw.Draw(layer)
    C = (cx * s, cy * s)
    aw = (arm_width if arm_width is not None else width) * s / 2

    def ring(r_out, r_in, fill):
        draw.ellipse((C[0] - r_out, C[1] - r_out, C[0] + r_out, C[1] + r_out), fill=fill)
        if r_in > 0:
            draw.ellipse((C[0] - r_in, C[1] - r_in, C[0] + r_in, C[1] + r_in), fill=(0, 0, 0, 0))

    def arms(grow, fill):
        a, g, w = (arm + grow) * s, (gap - grow) * s, aw + grow * s
        first = (radius * s if face else g)
        for sx, sy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            if sx:
                x0, x1 = sorted((C[0] + sx * first, C[0] + sx * a))
                draw.rectangle((x0, C[1] - w, x1, C[1] + w), fill=fill)
                if tick:
                    tx = C[0] + sx * (arm * s - aw)
                    draw.rectangle((tx - w, C[1] - (tick + grow) * s, tx + w, C[1] + (tick + grow) * s), fill=fill)
            else:
                y0, y1 = sorted((C[1] + sy * first, C[1] + sy * a))
                draw.rectangle((C[0] - w, y0, C[0] + w, y1), fill=fill)
                if tick:
                    ty = C[1] + sy * (arm * s - aw)
                    draw.rectangle((C[0] - (tick + grow) * s, ty - w, C[0] + (tick + grow) * s, ty + w), fill=fill)

    if halo:
        h = halo
        ring((radius + width / 2 + h) * s, 0, NAVY + (255,))
        arms(h, NAVY + (255,))
    ring((radius + width / 2) * s, (radius - width / 2) * s, colour + (255,))
    r_glass = (radius - width / 2) * s
    if glass:
        draw.ellipse((C[0] - r_glass, C[1] - r_glass, C[0] + r_glass, C[1] + r_glass),
                     fill=ORANGE_LIGHT + (glass,))
    arms(0, colour + (255,))
    if face:
        r = radius * s
        for ex in (-0.34, 0.34):
            ecx, ecy = C[0] + ex * r, C[1] - 0.14 * r
            ew, eh = r * 0.12, r * 0.17
            draw.ellipse((ecx - ew, ecy - eh, ecx + ew, ecy + eh), fill=NAVY + (255,))
            g = ew * 0.45
            draw.ellipse((ecx - g * 0.2 - g, ecy - eh * 0.45 - g, ecx - g * 0.2 + g, ecy - eh * 0.45 + g),
                         fill=WHITE + (255,))
            cheek = (C[0] + ex * r * 1.45, C[1] + 0.2 * r)
            draw.ellipse((cheek[0] - r * 0.12, cheek[1] - r * 0.07, cheek[0] + r * 0.12, cheek[1] + r * 0.07),
                         fill=(0xFF, 0x8A, 0x7A, 150))
        mouth = (C[0] - r * 0.3, C[1] - r * 0.05, C[0] + r * 0.3, C[1] + r * 0.42)
        draw.arc(mouth, 25, 155, fill=NAVY + (255,), width=max(1, round(r * 0.085)))
    return layer


def sparkle(draw, s, x, y, r, colour):
    """A four-pointed star."""
    X, Y, R, t = x * s, y * s, r * s, r * s * 0.22
    draw.polygon([(X, Y - R), (X + t, Y - t), (X + R, Y), (X + t, Y + t), (X, Y + R), (X - t, Y + t),
                  (X - R, Y), (X - t, Y - t)], fill=colour)


def splash():
    """The splash screen and top of the about box, 649 x 192."""
    width, height, s = 649, 192, 4
    background = Image.new("RGB", (width, height))
    glow_centre, glow_radius = (505, 78), 260
    for y in range(height):
        # Navy at the top to the band's near-black; the last twelve rows are the band itself.
        t = smooth(y / 172)
        base = mix(TOP, DARK, t)
        fade = 1 - smooth((y - 120) / 56)
        for x in range(width):
            d = math.hypot(x - glow_centre[0], (y - glow_centre[1]) * 1.35) / glow_radius
            g = (1 - smooth(d)) * fade * 0.55
            colour = mix(base, (0x24, 0x4C, 0x8C), g)
            background.putpixel((x, y), texture(x, y, colour))

    art = canvas(width * s, height * s)
    draw = ImageDraw.Draw(art)

    # A second window behind, dimmed, and the main window in front.
    big_window(draw, s, 384, 24, 150, 92, 16, 3, 6, dim=0.72)
    face = font("DejaVuSans-Bold.ttf", 10 * s)
    wx0, wy0, wx1, wy1 = 424, 44, 604, 154
    big_window(draw, s, wx0, wy0, wx1 - wx0, wy1 - wy0, 19, 3, 7, caption="Settings", caption_face=face)
    # the client area: a few lines of text
    for i, lw in enumerate((112, 88, 128, 64, 100)):
        ly = 78 + i * 13
        draw.rounded_rectangle(((wx0 + 14) * s, ly * s, (wx0 + 14 + lw) * s, (ly + 4) * s), radius=2 * s,
                               fill=LINE + (255,))
    # the finder's marking frame around the window: orange dashes
    m, dash = 5, 6
    x0, y0, x1, y1 = wx0 - m, wy0 - m, wx1 + m, wy1 + m
    for x in range(x0, x1 + 1, dash * 2):
        for yy in (y0, y1):
            draw.rectangle((x * s, (yy - 1) * s, min(x + dash, x1 + 1) * s, (yy + 1) * s), fill=ORANGE + (255,))
    for y in range(y0, y1 + 1, dash * 2):
        for xx in (x0, x1):
            draw.rectangle(((xx - 1) * s, y * s, (xx + 1) * s, min(y + dash, y1 + 1) * s), fill=ORANGE + (255,))
    art = art.resize((width, height), Image.LANCZOS)

    # the cross-hair over the window, with a tag naming the window found
    hair = crosshair_layer(width, height, s, 566, 124, 22, 5, 36, 7, tick=5, arm_width=3, halo=1.5,
                           glass=70).resize((width, height), Image.LANCZOS)
    art.alpha_composite(hair)

    tag = canvas(width * s, height * s)
    draw = ImageDraw.Draw(tag)
    mono = font("DejaVuSansMono-Bold.ttf", 10 * s)
    label = "hWnd 000A04F2"
    tx, ty = 425, 170
    tw = draw.textlength(label, font=mono) / s
    draw.rounded_rectangle(((tx - 6) * s, (ty - 9) * s, (tx + tw + 6) * s, (ty + 5) * s), radius=3 * s,
                           fill=(0x0B, 0x12, 0x20, 200), outline=ORANGE + (255,), width=s)
    draw.text((tx * s, ty * s), label, font=mono, fill=ORANGE_LIGHT + (255,), anchor="ls")
    art.alpha_composite(tag.resize((width, height), Image.LANCZOS))

    # The logotype: "Wynd" and the cross-hair as the "o".
    logo = canvas(width * s, height * s)
    draw = ImageDraw.Draw(logo)
    size = 78
    bold = font("DejaVuSans-Bold.ttf", size * s)
    x, baseline = 34, 104
    word = "Wynd"
    kerning = {"W": -5, "y": -2, "n": -1, "d": 0}
    for ch in word:
        draw.text((x * s, baseline * s), ch, font=bold, fill=WHITE + (255,), anchor="ls")
        x += draw.textlength(ch, font=bold) / s + kerning[ch]
    logo = logo.resize((width, height), Image.LANCZOS)
    # the "o": a cross-hair as tall as the lower-case letters, its ring as heavy as their stems
    top, bottom = bold.getbbox("o", anchor="ls")[1] / s, bold.getbbox("o", anchor="ls")[3] / s
    radius_out = (bottom - top) / 2 + 1
    ring_width = 10.5
    ocx, ocy = x + 11 + radius_out, baseline + (top + bottom) / 2
    o = crosshair_layer(width, height, s, ocx, ocy, radius_out - ring_width / 2, ring_width,
                        radius_out + 8, 5, arm_width=3, glass=0).resize((width, height), Image.LANCZOS)
    logo.alpha_composite(o)
    sub = canvas(width * s, height * s)
    draw = ImageDraw.Draw(sub)
    draw_text(draw, 38 * s, 134 * s, "WINDOW INSPECTOR", font("DejaVuSans.ttf", 14 * s),
              (0x9D, 0xB6, 0xDB, 255), tracking=4.2 * s)
    draw.rectangle((38 * s, 145 * s, 74 * s, 147 * s), fill=ORANGE + (255,))
    logo.alpha_composite(sub.resize((width, height), Image.LANCZOS))

    result = background.convert("RGBA")
    result.alpha_composite(art)
    result.alpha_composite(logo)
    return result.convert("RGB")


def side_pattern():
    """Left of the credits: the dark texture darkening to the black of the credits banner,
    with a thin blue line that frames the banner. 150 x 12; the right pattern is its mirror."""
    width = 150
    image = Image.new("RGB", (width, GRID))
    for y in range(GRID):
        for x in range(width):
            t = smooth(x / 104)
            colour = mix(texture(x, y), BLACK, t)
            if x == 107:
                colour = (0x1E, 0x3A, 0x66)
            image.putpixel((x, y), colour)
    return image


def logo():
    """The maker's logo, 143 x 47, on the band texture exactly as it lies at (13, 414) of the
    about box (the band below the credits starts its pattern at y 407)."""
    width, height, s = 143, 47, 4
    image = Image.new("RGB", (width, height))
    for y in range(height):
        for x in range(width):
            image.putpixel((x, y), texture(13 + x, 414 - 407 + y))
    art = canvas(width * s, height * s)
    draw = ImageDraw.Draw(art)
    # the mark: a rounded tile holding an H made of two window frames joined by an orange bar
    mx, my, ms = 4, 8, 31
    draw.rounded_rectangle((mx * s, my * s, (mx + ms) * s, (my + ms) * s), radius=7 * s, fill=BLUE + (255,))
    draw.rounded_rectangle((mx * s, my * s, (mx + ms) * s, (my + ms * 0.5) * s), radius=7 * s,
                           fill=(0x4E, 0x8D, 0xE0, 255))
    draw.rectangle((mx * s, (my + ms * 0.32) * s, (mx + ms) * s, (my + ms * 0.5) * s), fill=(0x4E, 0x8D, 0xE0, 255))
    draw.rounded_rectangle((mx * s, my * s, (mx + ms) * s, (my + ms) * s), radius=7 * s, outline=NAVY + (255,),
                           width=s)
    stem = 5
    for sx in (mx + 7, mx + ms - 7 - stem):
        draw.rounded_rectangle((sx * s, (my + 6) * s, (sx + stem) * s, (my + ms - 6) * s), radius=1.5 * s,
                               fill=WHITE + (255,))
    draw.rectangle(((mx + 7 + stem) * s, (my + ms / 2 - 2) * s, (mx + ms - 7 - stem) * s, (my + ms / 2 + 2) * s),
                   fill=ORANGE + (255,))
    # the name
    face = font("DejaVuSans-Bold.ttf", 20 * s)
    draw_text(draw, 43 * s, 28 * s, "Harlwick", face, TEXT_GREY + (255,), tracking=-0.2 * s)
    small = font("DejaVuSans.ttf", 7.5 * s)
    draw_text(draw, 44 * s, 39 * s, "SOFTWARE", small, (0x8F, 0xA6, 0xC8, 255), tracking=3.1 * s)
    art = art.resize((width, height), Image.LANCZOS)
    result = image.convert("RGBA")
    result.alpha_composite(art)
    return result.convert("RGB")


def hidden_picture():
    """The about box's hidden picture, 220 x 178, on the black of the credits banner: the
    cross-hair, with a face, has caught a window."""
    width, height, s = 220, 178, 4
    image = Image.new("RGB", (width, height), BLACK)
    for y in range(height):
        for x in range(width):
            d = math.hypot((x - 110) / 110, (y - 86) / 86)
            image.putpixel((x, y), mix((0x12, 0x24, 0x44), BLACK, smooth(d)))
    art = canvas(width * s, height * s)
    draw = ImageDraw.Draw(art)
    # the window that was found, marked by the finder's orange frame
    wx0, wy0, wx1, wy1 = 22, 26, 150, 112
    big_window(draw, s, wx0, wy0, wx1 - wx0, wy1 - wy0, 16, 3, 6, caption="Easter Egg",
               caption_face=font("DejaVuSans-Bold.ttf", 9 * s))
    mono = font("DejaVuSansMono.ttf", 9 * s)
    for i, (name, value) in enumerate((("Handle", "00C0FFEE"), ("Class", "EggClass"), ("Style", "WS_HIDDEN"))):
        ty = wy0 + 36 + i * 14
        draw.text(((wx0 + 10) * s, ty * s), name, font=mono, fill=LINE_DARK + (255,), anchor="ls")
        draw.text(((wx0 + 52) * s, ty * s), value, font=mono, fill=NAVY + (255,), anchor="ls")
    m, dash = 5, 5
    x0, y0, x1, y1 = wx0 - m, wy0 - m, wx1 + m, wy1 + m
    for x in range(x0, x1 + 1, dash * 2):
        for yy in (y0, y1):
            draw.rectangle((x * s, (yy - 1) * s, min(x + dash, x1 + 1) * s, (yy + 1) * s), fill=ORANGE + (255,))
    for y in range(y0, y1 + 1, dash * 2):
        for xx in (x0, x1):
            draw.rectangle(((xx - 1) * s, y * s, (xx + 1) * s, min(y + dash, y1 + 1) * s), fill=ORANGE + (255,))
    for (sx, sy, r, colour) in ((176, 24, 6, ORANGE_LIGHT), (194, 44, 3.5, WHITE), (12, 122, 4, BLUE_LIGHT),
                                (160, 10, 3, WHITE), (202, 118, 4, ORANGE), (8, 16, 3, ORANGE)):
        sparkle(draw, s, sx, sy, r, colour + (255,))
    art = art.resize((width, height), Image.LANCZOS)
    mascot = crosshair_layer(width, height, s, 160, 102, 27, 7, 43, 0, tick=5, arm_width=4, halo=2,
                             glass=255, face=True).resize((width, height), Image.LANCZOS)
    art.alpha_composite(mascot)
    words = canvas(width * s, height * s)
    draw = ImageDraw.Draw(words)
    face = font("DejaVuSans-Bold.ttf", 15 * s)
    text = "You found it!"
    draw.text((110 * s, 166 * s), text, font=face, fill=TEXT_GREY + (255,), anchor="ms")
    art.alpha_composite(words.resize((width, height), Image.LANCZOS))
    result = image.convert("RGBA")
    result.alpha_composite(art)
    return result.convert("RGB")


# ---------------------------------------------------------------------------------------------
# Mock-ups for looking at the pictures (with --preview)
# ---------------------------------------------------------------------------------------------

CREDITS = ["Thank you for using Wyndo!", "", "-=[ Inspiration ]=-", "~ Ada Quill ~", "~ Ben Hollis ~", "",
           "-=[ Components ]=-", "~ Cora Vale ~", "~ Dev Patel ~"]


def about_mockup(pictures, hidden_view=False):
    """The about box as the program paints it, with stand-in fonts for the labels."""
    width, height = 649, 467
    top, banner_h, left_w = 229, 178, 150
    band = pictures["band"]
    box = Image.new("RGB", (width, height))
    box.paste(pictures["splash"], (0, 0))
    for y in range(192, height):
        for x in range(width):
            if top <= y < top + banner_h:
                if x < left_w:
                    colour = pictures["side_left"].getpixel((x, y % GRID))
                elif x >= width - left_w:
                    colour = pictures["side_right"].getpixel((x - (width - left_w), y % GRID))
                else:
                    colour = BLACK
            elif y < top:
                colour = band.getpixel((x % GRID, y % GRID))
            else:
                colour = band.getpixel((x % GRID, (y - top - banner_h) % GRID))
            box.putpixel((x, y), colour)
    draw = ImageDraw.Draw(box)
    if hidden_view:
        draw.rectangle((left_w, top, left_w + 391 - 1, top + banner_h - 1), fill=BLACK)
        box.paste(pictures["hidden"], ((width - 220) // 2, top))
    else:
        banner = Image.new("RGB", (391, banner_h), BLACK)
        bdraw = ImageDraw.Draw(banner)
        mono = font("DejaVuSansMono-Bold.ttf", 13)
        for i, line in enumerate(CREDITS):
            bdraw.text((195, 20 + i * 16), line, font=mono, fill=TEXT_GREY, anchor="mt")
        fade = 30
        for yy in range(fade):
            for row in (yy, banner_h - 1 - yy):
                for xx in range(391):
                    p = banner.getpixel((xx, row))
                    banner.putpixel((xx, row), tuple(yy * c // fade for c in p))
        box.paste(banner, (125, top))
    box.paste(pictures["logo"], (13, 414))
    label = font("DejaVuSans-Bold.ttf", 11)
    for (x, y, text, colour) in ((12, 186, "Version:", TEXT_GREY), (12, 206, "Build:", TEXT_GREY),
                                 (108, 186, "1.0", TEXT_GREY), (108, 206, "1.0.0.1", TEXT_GREY)):
        draw.text((x, y), text, font=label, fill=colour)
    draw.text((635, 422), "Copyright (C) 2026 Harlwick", font=label, fill=TEXT_GREY, anchor="ra")
    draw.text((635, 441), "www.harlwick.example", font=label, fill=(0xF8, 0xF2, 0x60), anchor="ra")
    draw.text((633, 454), "\u03c0", font=font("DejaVuSerif.ttf", 11), fill=(0x30, 0x30, 0x30))
    return box


def enlarged(image, factor, backdrop=(0xEC, 0xE9, 0xD8)):
    rgba = image.convert("RGBA")
    base = Image.new("RGBA", rgba.size, backdrop + (255,))
    base.alpha_composite(rgba)
    return base.resize((image.width * factor, image.height * factor), Image.NEAREST).convert("RGB")


def overview(pictures, small):
    """One sheet with every picture: the dark ones at their size, the small ones also enlarged."""
    title = font("DejaVuSans-Bold.ttf", 13)
    rows = []

    def row(caption, images, factor, backdrop=(0xEC, 0xE9, 0xD8)):
        shown = [enlarged(image, factor, backdrop) for image in images]
        real = [image for image in images] if factor > 1 else []
        w = max(sum(i.width + 8 for i in shown), sum(i.width + 8 for i in real) + 8, 300)
        h = 22 + max(i.height for i in shown) + 8 + max([i.height for i in real] + [0]) + 10
        sheet = Image.new("RGB", (w, h), (0xF7, 0xF7, 0xF7))
        d = ImageDraw.Draw(sheet)
        d.text((4, 4), caption, font=title, fill=(0x20, 0x20, 0x20))
        x = 4
        for i in shown:
            sheet.paste(i, (x, 22))
            x += i.width + 8
        x, y = 4, 22 + max(i.height for i in shown) + 8
        for i in real:  # and each at its real size
            base = Image.new("RGBA", i.size, backdrop + (255,))
            base.alpha_composite(i.convert("RGBA"))
            sheet.paste(base.convert("RGB"), (x, y))
            x += i.width + 8
        rows.append(sheet)

    row("101 splash (649 x 192), enlarged x2", [pictures["splash"]], 2)
    row("about box mock-ups: normal view, hidden view", [about_mockup(pictures), about_mockup(pictures, True)], 1)
    row("102 logo, 103 hidden picture, 201 band, 202/203 sides (x3)",
        [pictures["logo"], pictures["hidden"], pictures["band"], pictures["side_left"], pictures["side_right"]], 3)
    for caption, images, factor in small:
        row(caption, images, factor)
    width = max(r.width for r in rows)
    height = sum(r.height + 6 for r in rows)
    sheet = Image.new("RGB", (width, height), (0xD0, 0xD0, 0xD0))
    y = 0
    for r in rows:
        sheet.paste(r, (0, y))
        y += r.height + 6
    return sheet


# ---------------------------------------------------------------------------------------------
# Writing everything
# ---------------------------------------------------------------------------------------------

def main(arguments):
    OUT.mkdir(exist_ok=True)
    written = []

    def write(name, data):
        (OUT / name).write_bytes(data)
        written.append(name)

    pictures = {"splash": splash(), "logo": logo(), "hidden": hidden_picture(), "band": band_tile(),
                "side_left": side_pattern()}
    pictures["side_right"] = pictures["side_left"].transpose(Image.FLIP_LEFT_RIGHT)
    write("splash.jpg", jpeg(pictures["splash"]))
    write("logo.jpg", jpeg(pictures["logo"]))
    write("hidden.jpg", jpeg(pictures["hidden"]))
    write("band.bmp", bmp24(pictures["band"]))
    write("side_left.jpg", jpeg(pictures["side_left"], 98))
    write("side_right.jpg", jpeg(pictures["side_right"], 98))

    write("finder_tool.bmp", bmp4(finder_tool(True)))
    write("finder_empty.bmp", bmp4(finder_tool(False)))
    write("finder.cur", cursor_file(crosshair_points()))

    icons = {size: program_icon(size) for size in (48, 32, 16)}
    write("wyndo.ico", ico([icon_image_32(icons[s]) for s in (48, 32, 16)] +
                           [icon_image_8(icons[s]) for s in (48, 32, 16)]))
    list_icons = {}
    for kind, name in zip(KINDS, ("windows", "processes", "threads", "modules")):
        list_icons[kind] = {size: list_picture(kind, size) for size in (32, 16)}
        write(f"list_{name}.ico", ico([icon_image_32(list_icons[kind][s]) for s in (32, 16)] +
                                      [icon_image_8(list_icons[kind][s]) for s in (32, 16)]))
    write("std_window.ico", ico([icon_image_4(std_icon(32)), icon_image_4(std_icon(16))]))

    main_big = [list_picture("window", 32), list_picture("process", 32), list_picture("thread", 32),
                settings_picture(), find_window_picture(), list_picture("module", 32), stations_picture()]
    main_small = [list_picture(kind, 18) for kind in KINDS]
    list_toolbar = [refresh_picture(), highlight_picture()] + \
                   [properties_picture(kind) for kind in KINDS] + [search_picture()]
    nodes = [node_picture(kind) for kind in KINDS]
    strips = {"main_big.bmp": strip(main_big), "main_small.bmp": strip(main_small),
              "list_toolbar.bmp": strip(list_toolbar), "list_nodes.bmp": strip(nodes),
              "filter.bmp": strip([filter_picture()])}
    for name, image in strips.items():
        write(name, bmp24(image))

    for name in written:
        print(f"wrote {OUT / name}")

    if "--preview" in arguments:
        target = pathlib.Path(arguments[arguments.index("--preview") + 1])
        target.mkdir(parents=True, exist_ok=True)
        # read the files back, so that what is looked at is what the program gets
        back = {key: Image.open(OUT / file).convert("RGB") for key, file in (
            ("splash", "splash.jpg"), ("logo", "logo.jpg"), ("hidden", "hidden.jpg"), ("band", "band.bmp"),
            ("side_left", "side_left.jpg"), ("side_right", "side_right.jpg"))}

        def keyed(name, cell):
            image = Image.open(OUT / name).convert("RGBA")
            data = [(0, 0, 0, 0) if p[:3] == MAGENTA else p for p in image.getdata()]
            image.putdata(data)
            return [image.crop((x, 0, x + cell, image.height)) for x in range(0, image.width, cell)]

        def icon_images(name):
            file = Image.open(OUT / name)
            return [file.ico.frame(i) for i in range(len(file.ico.entry))]

        def read_cursor(name, backdrop):
            """The cursor as the system shows it over a backdrop: AND mask, then XOR colours."""
            data = (OUT / name).read_bytes()
            size, offset = data[6], struct.unpack_from("<I", data, 18)[0]
            stride = (size + 31) // 32 * 4
            xor_at = offset + 40 + 8
            and_at = xor_at + stride * size
            image = Image.new("RGB", (size, size), backdrop)
            for y in range(size):
                row = size - 1 - y
                for x in range(size):
                    bit = lambda at: (data[at + row * stride + x // 8] >> (7 - x % 8)) & 1
                    keep, flip = bit(and_at), bit(xor_at)
                    colour = backdrop if keep else BLACK
                    if flip:
                        colour = tuple(255 - c for c in colour) if keep else WHITE
                    image.putpixel((x, y), colour)
            return image

        cursors = [read_cursor("finder.cur", c) for c in ((0xEC, 0xE9, 0xD8), (0x3A, 0x6E, 0xA5), BLACK)]
        small = [
            ("IMG_MAIN_BIG (x3)", keyed("main_big.bmp", 32), 3),
            ("IMG_LIST_TOOLBAR (x3)", keyed("list_toolbar.bmp", 32), 3),
            ("IMG_MAIN_SMALL, IMG_LIST_NODES, IMG_FILTER (x4)",
             keyed("main_small.bmp", 18) + keyed("list_nodes.bmp", 18) + keyed("filter.bmp", 28), 4),
            ("401, 402 finder tool; 301 cursor (x4)",
             [Image.open(OUT / "finder_tool.bmp"), Image.open(OUT / "finder_empty.bmp")] + cursors, 4),
            ("MAINICON (32-bit, then 256 colours), STDICON (x3)",
             icon_images("wyndo.ico") + icon_images("std_window.ico"), 3),
            ("501..504 list icons (x3)", sum((icon_images(f"list_{n}.ico") for n in
                                              ("windows", "processes", "threads", "modules")), []), 3),
        ]
        sheet = overview(back, small)
        sheet.save(target / "pictures-overview.png")
        about_mockup(back).save(target / "about.png")
        about_mockup(back, True).save(target / "about-hidden.png")
        print(f"wrote previews into {target}")


if __name__ == "__main__":
    main(sys.argv[1:])
