#!/bin/bash
# Drives the real program through the climbs of a long flight's barograph: the window with
# the climbs shaded and the climbs tool beside it, the cursor sent to the take-off, a climb
# chosen from the list, the mark and the landing; a screenshot after each step into
# /tmp/trial-climbs, then the print page as a PDF and a PNG. Start a display with a window
# manager first, 1280 x 1000 (positions below are those of the default fonts there):
#   Xvfb :91 -screen 0 1280x1000x24 &  DISPLAY=:91 openbox &
# then: DISPLAY=:91 tools/trials/climbs.sh
# Needs xdotool, wmctrl, ImageMagick (import) and pdftoppm; they are not part of scripts/setup.
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT=/tmp/trial-climbs
APP=${APP:-$ROOT/build/test/app/duvazi}
TOOL=${TOOL:-$ROOT/build/test/tools/duvazi-tool}
export HOME=$OUT/home XDG_CONFIG_HOME=$OUT/home/cfg
rm -rf "$OUT/home" "$OUT/flights"
mkdir -p "$HOME" "$OUT/flights"
cd "$OUT/flights" || exit 1
cp "$ROOT/tests/data/logbook/three-flights.log" .
# Row 1 names 24050310.BRG: two and a half hours at 1 s from the samples' generator.
python3 - "$ROOT/tests/data/barograph" <<'EOF'
import sys
sys.path.insert(0, sys.argv[1])
from make_samples import barograph, thermal_flight
open('24050310.BRG', 'wb').write(barograph(1, thermal_flight(24, 1, 150), marks=(600, 4000)))
EOF
"$TOOL" baro climbs 24050310.BRG > "$OUT/climbs.txt"

"$APP" "$OUT/flights/three-flights.log" &
pid=$!
echo "$pid" > "$OUT/pid"
sleep 3
shot() { sleep 0.8; import -window root "$OUT/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; }
# A fresh home: no names file (its message), then the start-folder dialog, not again.
xdotool key Return; sleep 1
click 474 632; click 775 570; sleep 1
wmctrl -r DUVAZI -e 0,0,0,1270,960; sleep 1
click 139 31; shot 01-graph                       # the flight's barograph and its climbs tool
click 746 103; shot 02-takeoff                    # the cursor at the detected take-off
click 867 103                                     # the mark there
click 330 148; shot 03-climb                      # the sixth climb of the list, zoomed
click 804 103; shot 04-landing                    # the cursor at the landing, whole flight again

"$TOOL" baro render 24050310.BRG --out "$OUT/page.pdf" --log three-flights.log --row 1
pdftoppm -png -r 60 -singlefile "$OUT/page.pdf" "$OUT/page"
kill "$pid"
