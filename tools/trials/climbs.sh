#!/bin/bash
# Drives the real program through the climbs of a long flight's barograph: the window with
# the climbs shaded and the climbs tool beside it, the cursor sent to the take-off, a climb
# chosen from the list, the mark and the landing; a screenshot after each step into
# /tmp/trial-climbs, then the print page as a PDF and a PNG. Start a display with a window
# manager first, 1280 x 1000 (positions below are those of the default fonts there):
#   Xvfb :91 -screen 0 1280x1000x24 &  DISPLAY=:91 openbox &
# then: DISPLAY=:91 tools/trials/climbs.sh
# Needs xdotool, wmctrl, ImageMagick (import) and pdftoppm; they are not part of scripts/setup.
OUT=/tmp/trial-climbs
source "$(dirname "$0")/prologue.sh"
cp "$ROOT/tests/data/logbook/three-flights.log" .
# Row 1 names 24050310.BRG: two and a half hours at 1 s from the samples' generator.
python3 - "$ROOT/tests/data/barograph" <<'EOF'
import sys
sys.path.insert(0, sys.argv[1])
from make_samples import barograph, thermal_flight
open('24050310.BRG', 'wb').write(barograph(1, thermal_flight(24, 1, 150), marks=(600, 4000)))
EOF
"$TOOL" baro climbs 24050310.BRG > "$OUT/climbs.txt"

SHOT_DELAY=0.8
start_program "$OUT/flights/three-flights.log"
click 139 31; shot 01-graph                       # the flight's barograph and its climbs tool
click 132 115; shot 02-takeoff                    # the cursor at the detected take-off
click 252 115                                     # the mark there
click 728 219; shot 03-climb                      # the sixth climb of the list, zoomed
click 190 115; shot 04-landing                    # the cursor at the landing, whole flight again

"$TOOL" baro render 24050310.BRG --out "$OUT/page.pdf" --log three-flights.log --row 1
pdftoppm -png -r 60 -singlefile "$OUT/page.pdf" "$OUT/page"
kill "$(cat "$OUT/pid")"
