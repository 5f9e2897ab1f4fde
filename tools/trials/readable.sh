#!/bin/bash
# Tries the barograph's labels and the workspace's windows as a pilot would, under a real
# window manager: a 55-hour flight's graph, the zoom tool beside the cursor tool, the graph
# maximised and restored (its tools with it), "重ねて表示" after that, and the print page;
# first the start-folder dialog's path field narrowing its list.
# Screenshots go to /tmp/trial-readable. Start a display with a window manager first:
#   Xvfb :95 -screen 0 1280x1000x24 &  DISPLAY=:95 openbox &
# then: DISPLAY=:95 tools/trials/readable.sh
# Needs xdotool, wmctrl, ImageMagick (import) and pdftoppm; they are not part of scripts/setup.
OUT=/tmp/trial-readable
source "$(dirname "$0")/prologue.sh"
cp "$ROOT/tests/data/logbook/three-flights.log" .
# Row 1 names 24050310.BRG: 55 h 33 min 19 s at 1 s, thermals all the way.
python3 - "$ROOT/tests/data/barograph" <<'PY'
import math, random, sys
sys.path.insert(0, sys.argv[1])
from make_samples import barograph
r, a, c, out = random.Random(3), 700.0, 0.0, []
for i in range(55 * 3600 + 33 * 60 + 20):
    c += (math.sin(i / 900.0) * 2 - c) * 0.05 + r.gauss(0, 0.2)
    a = max(231.0, min(2800.0, a + c))
    out.append(a)
open('24050310.BRG', 'wb').write(barograph(1, out, marks=(100, 5000)))
PY

BEFORE_FOLDER_OK='click 738 411; xdotool type --delay 80 three; shot 00-start-folder   # the path field narrows the list' start_program "$OUT/flights/three-flights.log"
click 139 31; sleep 4; shot 01-graph                # the 55-hour barograph and its tools
click 389 89; shot 02-zoom-tool                    # the zoom tool, beside the cursor tool
click 628 83; shot 03-maximised                     # the graph fills the workspace, its tools with it
click 1239 9; shot 04-restored                      # restored: the tools where they stood
click 139 7; sleep 0.5; xdotool key c; shot 05-cascade   # "重ねて表示"
"$TOOL" baro render 24050310.BRG --out "$OUT/page.pdf" --log three-flights.log --row 1
pdftoppm -png -r 60 -singlefile "$OUT/page.pdf" "$OUT/page"
kill "$(cat "$OUT/pid")"
