#!/bin/bash
# Drives the real program through the import of other instruments' logs: the File menu's
# command, the preview read off the window's thread (its progress), a duplicate beside the
# row it repeats, the time zone chosen, the choice for all and for one, the report, the saved
# log, the one undo step, and the zone kept for the next import; a screenshot after each step
# into /tmp/trial-import. Start a display with a
# window manager first, 1280 x 1000 (positions below are those of the default fonts there):
#   Xvfb :95 -screen 0 1280x1000x24 &  DISPLAY=:95 openbox &
# then: DISPLAY=:95 tools/trials/import.sh
# Needs xdotool, wmctrl and ImageMagick (import); they are not part of scripts/setup.
OUT=/tmp/trial-import
source "$(dirname "$0")/prologue.sh"
DATA=$ROOT/tests/data/barograph/import
tar -xJf "$ROOT/tests/data/realflights/igc.tar.xz" -O igc/pg-napret.igc > "$OUT/napret.igc"
cp "$ROOT/tests/data/logbook/three-flights.log" .
# napret is in the log already (row 4), imported earlier on the command line in the
# computer's time zone.
"$TOOL" log import-flights three-flights.log "$OUT/napret.igc" > /dev/null || exit 1
rm three-flights.lif
# The folder the pilot imports: napret again and a copy of it, the glider flight across
# midnight UTC, a file that is no log, and a season of 40 one-hour flights in a subfolder.
mkdir -p logs/season
cp "$OUT/napret.igc" logs/a-napret.igc
cp "$OUT/napret.igc" logs/d-napret-copy.igc
cp "$DATA/new_zealand.igc" logs/b-new_zealand.igc
echo "not a flight" > logs/c-notes.igc
python3 - <<'PY'
import datetime, math
for i in range(40):
    day = datetime.date(2024, 4, 1) + datetime.timedelta(days=i)
    lines = ["AXYZ001 trial logger", "HFDTEDATE:%s,01" % day.strftime("%d%m%y"), "HFFTYFRTYPE:TRIAL,VARIO"]
    for s in range(3600):
        alt = 900 if s < 300 else 300 if s >= 3300 else 900 + 400 * math.sin((s - 300) / 300.0) + (s - 300) * 0.05
        t = 1 * 3600 + s
        lines.append("B%02d%02d%02d3617583N14007250EA%05d%05d" % (t // 3600, t // 60 % 60, t % 60, alt, alt + 30))
    open("logs/season/%02d.igc" % i, "w").write("\r\n".join(lines) + "\r\n")
PY

SHOT_DELAY=0.8
start_program "$OUT/flights/three-flights.log"
shot 00-log                                        # three flights and napret
click 25 12; shot 01-file-menu                     # the import among the file commands, (I)
xdotool key i; sleep 1.5; shot 02-dialog           # the preview, empty
xdotool type "$OUT/flights/logs"; xdotool key Return
sleep 0.6; import -window root "$OUT/03-reading.png"   # the progress while the files are read
sleep 8; shot 04-preview                           # what each file becomes
click 276 299; sleep 0.5; xdotool type "UTC+9"; xdotool key Return
shot 05-zone                                       # the dates and times at UTC+9; napret still the same file
click 341 646; sleep 0.5                           # 重複をすべて追加: both duplicates to add
click 730 349; sleep 0.5; xdotool key Up Return    # and the first one back to skip
shot 06-choice                                     # the summary follows the choices
click 986 646; sleep 1; shot 07-report             # 取り込む: one save, then the report
xdotool key Return; shot 08-log                    # the log with the flights added, at UTC+9
click 75 12; shot 09-edit-menu                     # 元に戻す: 取り込み
# Rows with a barograph of the download's names: napret's and the 42 added.
"$TOOL" log show three-flights.log --json | grep -c '"barographFile": "V' > "$OUT/rows-saved.txt"   # 43: saved at once
click 150 28; shot 10-undone                       # one step takes the 42 flights back
"$TOOL" log show three-flights.log --json | grep -c '"barographFile": "V' >> "$OUT/rows-saved.txt"  # still 43 until saved
click 25 12; xdotool key i; sleep 1.5; shot 11-zone-kept   # the next import starts at UTC+9
kill "$(cat "$OUT/pid")"
