"""Helpers for the scripts that draw the show's pictures as text pixel maps.

A picture is a grid of colours (None for black); write_map() turns it into the text format that
tessary-pictures reads, naming each colour with one character in the legend.

Relief pictures get their depth from brightness: the show turns a pixel into a cube raised by
(luma - 1) * 1.5 units, where luma = trunc(sqrt(0.299 r + 0.587 g + 0.114 b)) lies in 0..15 and
0 means no cube. color_at_luma() finds a colour of a given hue with an exact luma.
"""

import math
import os

# The single-precision weights the show uses, as exact doubles.
W_R = 0.29899999499320984
W_G = 0.5870000123977661
W_B = 0.11400000005960464

REPO = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", ".."))

# Legend characters, in the order they are handed out: letters and digits first, then signs.
KEYS = ("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
        "#%&*+-@$!?:;<>^~_|/\\()[]{}'\",`")


def weighted(rgb):
    r, g, b = rgb
    return W_R * r + W_G * g + W_B * b


def luma(rgb):
    """The depth level the show gives a pixel (0 = no cube)."""
    return int(math.sqrt(weighted(rgb)))


def _scale(base, t):
    """A point on the path black -> base (t = 0..1) -> white (t = 1..2)."""
    if t <= 1.0:
        return tuple(c * t for c in base)
    return tuple(c + (255.0 - c) * (t - 1.0) for c in base)


def color_at_luma(base, level):
    """The colour of hue `base` (darkened or whitened) whose luma is exactly `level` (1..15)."""
    if not 1 <= level <= 15:
        raise ValueError("level %d out of 1..15" % level)
    target = (level + 0.5) ** 2
    lo, hi = 0.0, 2.0
    for _ in range(60):
        mid = (lo + hi) / 2
        if weighted(_scale(base, mid)) < target:
            lo = mid
        else:
            hi = mid
    rgb = tuple(min(255, max(0, int(round(c)))) for c in _scale(base, lo))
    if luma(rgb) != level:
        raise ValueError("no colour of hue %r at level %d (got %r)" % (base, level, rgb))
    return rgb


def hex_color(rgb):
    return "#%02x%02x%02x" % tuple(rgb)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def hsv(h, s, v):
    """Hue in turns (0..1), saturation and value 0..1, to an RGB tuple 0..255."""
    h = (h % 1.0) * 6.0
    i = int(h)
    f = h - i
    p, q, t = v * (1 - s), v * (1 - s * f), v * (1 - s * (1 - f))
    r, g, b = [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)][i % 6]
    return (int(round(r * 255)), int(round(g * 255)), int(round(b * 255)))


def blank(width, height):
    return [[None] * width for _ in range(height)]


def count_cubes(grid):
    return sum(1 for row in grid for c in row if c is not None and luma(c) > 0)


def write_map(name, grid, comments=()):
    """Writes assets/pictures/NAME.txt from a grid of RGB tuples (None = black)."""
    legend = {}
    for row in grid:
        for c in row:
            if c is not None and c not in legend:
                if len(legend) == len(KEYS):
                    raise ValueError("%s: more than %d colours" % (name, len(KEYS)))
                legend[c] = KEYS[len(legend)]
    lines = ["// " + c for c in comments]
    lines += ["%s = %s" % (k, hex_color(c)) for c, k in legend.items()]
    lines.append("---")
    for row in grid:
        lines.append("".join("." if c is None else legend[c] for c in row))
    path = os.path.join(REPO, "assets", "pictures", name + ".txt")
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
    print("%s: %d x %d, %d cubes, %d colours" %
          (name, len(grid[0]), len(grid), count_cubes(grid), len(legend)))


def read_map(path):
    """Reads a text pixel map back into a grid (for previews and checks)."""
    with open(path) as f:
        lines = f.read().split("\n")
    legend = {}
    i = 0
    while lines[i] not in ("", "---"):
        if not lines[i].startswith("//"):
            legend[lines[i][0]] = tuple(int(lines[i][5 + 2 * k:7 + 2 * k], 16) for k in range(3))
        i += 1
    rows = lines[i + 1:]
    while rows and rows[-1] == "":
        rows.pop()
    return [[None if ch in ". " else legend[ch] for ch in row] for row in rows]
