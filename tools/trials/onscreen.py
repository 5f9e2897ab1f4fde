#!/usr/bin/env python3
"""What a screenshot shows of the workspace's windows, found by their pixels (ImageMagick's
connected components), for the trials:

  onscreen.py captions SHOT.png   one line "x y colour" per whole row of caption buttons (white
                                  glyphs: the active window's, black: another's): the three
                                  glyphs (an 8 x 2 bar, an 8 x 8 box, an 8 x 8 cross) in one
                                  colour, 20 px apart, as Qt draws a window's minimise,
                                  maximise and close buttons; a row partly covered is not one
  onscreen.py tools SHOT.png      one line "kind x y width height" per piece of a barograph
                                  window's tool seen: "cursor" (the yellow strip) or "climbs"
                                  (the green panel); a whole cursor strip shows 478 x 56 of
                                  yellow, a whole climbs panel 348 x 426 of green
"""
import re
import subprocess
import sys


def pieces(png, colour, least=1):
    """The connected pieces of exactly `colour`, as (x, y, width, height)."""
    marker = 'rgb(1,2,3)'
    out = subprocess.run(['convert', png, '-fill', marker, '-opaque', colour, '-fill', 'black', '+opaque', marker,
                          '-fill', 'white', '-opaque', marker, '-define', 'connected-components:verbose=true',
                          '-define', 'connected-components:area-threshold=%d' % least,
                          '-connected-components', '8', 'null:'],
                         capture_output=True, text=True, check=True).stdout
    found = []
    for line in out.splitlines():
        m = re.match(r'\s*\d+: (\d+)x(\d+)\+(\d+)\+(\d+) \S+ \d+ (\S+)', line)
        if m and m.group(5) in ('gray(255)', 'srgb(255,255,255)', 'white'):
            w, h, x, y = map(int, m.groups()[:4])
            found.append((x, y, w, h))
    return found


def captions(png):
    rows = []
    for glyph in ('black', 'white'):  # an inactive window's glyphs, the active one's
        parts = pieces(png, glyph)
        boxes = {(x, y) for x, y, w, h in parts if (w, h) == (8, 8)}
        bars = {(x, y) for x, y, w, h in parts if (w, h) == (8, 2)}
        rows += [(x, y - 8, glyph) for x, y in bars if (x + 20, y - 6) in boxes and (x + 40, y - 6) in boxes]
    return sorted(rows)


def tools(png):
    seen = []
    for kind, colour in (('cursor', 'rgb(255,255,0)'), ('climbs', 'rgb(192,224,184)')):
        seen += [(kind,) + p for p in pieces(png, colour, least=400)]
    return seen


if __name__ == '__main__':
    what, png = sys.argv[1], sys.argv[2]
    for row in (captions(png) if what == 'captions' else tools(png)):
        print(*row)
