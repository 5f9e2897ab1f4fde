#!/bin/bash
# Tries every drawn figure as a pilot reads it, under a real window manager: the printed
# log book of 20,000 flights (49,727 hours, twelve-character barograph names) read back as
# text, the totals window of seventy years of 367 hours (normal, maximised, restored low),
# the statistics window's year chart of those seventy years (opened by 統計(&I)), the menus'
# letters, the log list maximised, the climbs histogram and the mark read-out, a
# 200,000-sample barograph from the ground with its gain marks, the altitude correction
# reopened, and "名前を付けて保存" adding ".log" to a name typed without it.
#
#   tools/trials/figures.sh            (needs Xvfb, openbox, xdotool, wmctrl, ImageMagick,
#                                       pdftotext and pdftoppm from poppler-utils)
#
# Screenshots go to /tmp/trial-figures; each check prints PASS or FAIL, and the script exits
# 1 when any failed. APP and TOOL name the programs (default: the test build).
set -u
out=/tmp/trial-figures
rm -rf "$out" && mkdir -p "$out"
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
APP=${APP:-$ROOT/build/test/app/duvazi}
TOOL=${TOOL:-$ROOT/build/test/tools/duvazi-tool}
TRIAL_DISPLAY=${TRIAL_DISPLAY:-93}
source "$(dirname "$0")/wm.sh"
write_settings
cd "$out/flights" || exit 1

# The log book: two flights a day from 1990 on, 2:29:11 each, every one with a barograph.
# The totals: seventy years, a flight of 30:35:40 each month (367:08:00 a year).
python3 - <<'PY'
import datetime
head = ",日付,時刻,エリア,滞空時間,最大高度,最大上昇率,備考、コメント,ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ\r\n"
with open("book.csv", "w", encoding="utf-8-sig", newline="") as f:
    f.write(head)
    for i in range(20000):
        day = datetime.date(1990, 1, 1) + datetime.timedelta(days=i // 2)
        f.write("%d,%s,%02d:%02d:00,足尾山,02:29:11,2800 m,9.9 m/s,,V%07d.V%02d\r\n" % (
            i + 1, day.strftime("%y/%m/%d"), 10 + 4 * (i % 2), i % 60, i % 10**7, i % 100))
with open("years.csv", "w", encoding="utf-8-sig", newline="") as f:
    f.write(head)
    n = 0
    for year in range(1970, 2040):
        for month in range(1, 13):
            n += 1
            f.write("%d,%02d/%02d/01,10:00:00,板敷,30:35:40,1200 m,2.0 m/s,,\r\n" % (n, year % 100, month))
PY
"$TOOL" log import book.csv book.log >/dev/null || exit 1
"$TOOL" log import years.csv years.log >/dev/null || exit 1
cp "$ROOT/tests/data/logbook/three-flights.log" .
# Row 1 names 24050310.BRG: 200,000 samples at 1 s, from the ground up 900 m and down.
# Row 3 names 99123123.BRG: an hour of thermals and sink at 2 s, for the climbs histogram.
python3 - "$ROOT/tests/data/barograph" <<'PY'
import math, random, sys
sys.path.insert(0, sys.argv[1])
from make_samples import barograph
n = 200000
alts = [900.0 * i / (n // 3) if i < n // 3 else 900.0 * (n - i) / (n - n // 3) for i in range(n)]
open('24050310.BRG', 'wb').write(barograph(1, alts, marks=(100, 5000)))
r, a, c, out = random.Random(3), 700.0, 0.0, []
for i in range(1800):
    c += (math.sin(i / 90.0) * 3 - 0.8 - c) * 0.1 + r.gauss(0, 0.3)
    a = max(231.0, min(2800.0, a + 2 * c))
    out.append(a)
open('99123123.BRG', 'wb').write(barograph(2, out))
PY

# The printed book, read back as text: every figure whole, the last 累計 what "log stats" says.
"$TOOL" log print book.log --out "$out/book.pdf" || exit 1
pdftotext -layout "$out/book.pdf" "$out/book.txt"
total=$("$TOOL" log stats book.log | head -1 | cut -f3)
last=$(awk 'BEGIN{RS="\f"} NF{p=$0} END{print p}' "$out/book.txt" | grep '累計')
check "the last page's 累計 is the total of log stats ($total)" "yes" "$(echo "$last" | grep -q " $total" && echo yes)"
check "no figure of the book is cut" "0" "$(grep -c '…' "$out/book.txt")"
check "every barograph name whole" "20000" "$(grep -oc 'V[0-9]\{7\}\.V[0-9][0-9]' "$out/book.txt")"
echo "      last page: $(echo "$last" | tr -s ' ')"
pages=$(pdfinfo "$out/book.pdf" | awk '/^Pages/{print $2}')
pdftoppm -png -r 50 -f "$pages" -l "$pages" -singlefile "$out/book.pdf" "$out/01-book-last-page"

start() { # LOG
  (cd "$out/flights" && XDG_CONFIG_HOME="$out/config" exec "$APP" "$1" >>"$out/program.log" 2>&1) &
  echo $! > "$out/pid"
  sleep 4
  xdotool key Return; sleep 1 # the log has no names file
  main_window
  wmctrl -r DUVAZI -e 0,0,0,1270,870; sleep 1
}
stop() { kill "$(cat "$out/pid")"; sleep 1; }
edit_menu() { xdotool key alt+e; sleep 0.5; xdotool key "$1"; sleep 2; }

start "$out/flights/years.log"
edit_menu f; shot 02-totals                           # seventy years of 367 h: the chart scrolls
xdotool mousemove 330 84 click --repeat 2 --delay 80 1; sleep 1; shot 03-totals-maximised
edit_menu i; sleep 2                                  # 統計, under the log list
xdotool mousemove 798 397 click 1; sleep 1; shot 04-statistics-charts   # its charts' tab
stop

start "$out/flights/three-flights.log"
xdotool mousemove 400 400 click --repeat 2 --delay 80 1 2>/dev/null; sleep 1 # nothing: a click into the workspace
shot 04-log-list
xdotool mousemove 330 61 click --repeat 2 --delay 80 1; sleep 1; shot 05-log-list-maximised
xdotool key alt+f; sleep 0.5; shot 06-file-menu; xdotool key Escape Escape; sleep 0.5
xdotool key alt+e; sleep 0.5; shot 07-edit-menu; xdotool key Escape Escape; sleep 0.5
# The climbs tool of an hour of thermals: its histogram's first label, a sink, whole; the
# cursor tool's mark read-out from take-off to landing, clear of the IGC button.
xdotool mousemove 60 148 click 1; sleep 0.5
xdotool key alt+f; sleep 0.4; xdotool key b; sleep 4
xdotool mousemove 250 450 click 1; sleep 0.5; xdotool mousemove 226 103 click 1; sleep 0.5
xdotool mousemove 1100 500 click 1; sleep 1; shot 08-climbs-and-mark
xdotool key alt+w; sleep 0.4; xdotool key g; sleep 1; xdotool key n; sleep 1   # all graphs closed, unsaved
xdotool mousemove 60 111 click 1; sleep 0.5
xdotool key alt+f; sleep 0.4; xdotool key b; sleep 8; shot 09-graph   # 200,000 samples from the ground
# 高度補正 in offset mode: +10, then reopened, -30 typed and Enter.
xdotool key alt+o; sleep 0.4; xdotool key h; sleep 1
xdotool key Down Down Tab; sleep 0.3; xdotool type 10; shot 10-adjust-offset; xdotool key Return; sleep 1
xdotool key alt+o; sleep 0.4; xdotool key h; sleep 1
check "高度補正 reopens with the keyboard" "高度補正" "$(active_window)"
xdotool type -- -30; shot 11-adjust-reopened
xdotool key Return; sleep 1; shot 12-adjusted                # 最大高度 900 + 10 - 30 = 880 m
# Save as, a name typed without its extension.
xdotool key alt+f; sleep 0.4; xdotool key a; sleep 2
xdotool type copy; shot 13-save-dialog; xdotool key Return; sleep 2
check "the log saved as copy.log" "yes" "$([ -f "$out/flights/copy.log" ] && echo yes)"
stop
kill "$xvfb"
exit $failed
