#!/bin/bash
# Drives the real program through the statistics window and the printed log book on a log
# of 20,000 flights: the window with its year table, the charts, a year bar clicked (its
# flights selected in the log list), and a page of the log book as duvazi-tool prints it; a
# screenshot after each step into /tmp/trial-statistics. Start a display with a window
# manager first, 1280 x 1000 (positions below are those of the default fonts there):
#   Xvfb :92 -screen 0 1280x1000x24 &  DISPLAY=:92 openbox &
# then: DISPLAY=:92 tools/trials/statistics.sh
# Needs xdotool, wmctrl, ImageMagick (import) and pdftoppm; they are not part of scripts/setup.
OUT=/tmp/trial-statistics
source "$(dirname "$0")/prologue.sh"
# Two flights a day from 1990 on, at five sites, flying time varying with the season.
python3 - <<'PY'
import random
random.seed(7)
sites = ["足尾山", "板敷", "朝霧高原", "白馬", "ｱｼｵ", "富士見台", "菅平", "塔ノ岳"]
weights = [30, 20, 15, 10, 8, 7, 6, 4]
import datetime
with open("flights.csv", "w", encoding="utf-8-sig", newline="") as f:
    f.write(",日付,時刻,エリア,滞空時間,最大高度,最大上昇率,備考、コメント,ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ\r\n")
    for i in range(20000):
        day = datetime.date(1990, 1, 1) + datetime.timedelta(days=i // 2)
        season = 1.6 if day.month in (4, 5, 6, 7, 8) else 0.6
        seconds = int(random.randint(300, 5400) * season)
        site = random.choices(sites, weights)[0]
        f.write("%d,%s,%02d:%02d:00,%s,%02d:%02d:%02d,%04d m,%.1f m/s,,\r\n" % (
            i + 1, day.strftime("%y/%m/%d"), 10 + 4 * (i % 2), i % 60, site,
            seconds // 3600, seconds // 60 % 60, seconds % 60,
            random.randint(300, 2800), random.randint(5, 60) / 10))
PY
"$TOOL" log import flights.csv flights.log || exit 1
"$TOOL" log stats flights.log > "$OUT/stats.txt"
"$TOOL" log print flights.log --out "$OUT/book.pdf" --from 16/06/01

START_DELAY=4 start_program "$OUT/flights/flights.log"
shot 00-log
click 75 12; sleep 0.5; shot 01-edit-menu                # the Edit menu, 統計 under 集計
click 108 162; sleep 2; shot 02-statistics               # the window under the log list
click 83 134; xdotool keydown ctrl; click 83 170; xdotool keyup ctrl
click 668 458; shot 03-excluded                          # rows 1 to 3 left out: said in the summary
xdotool mousemove 93 458 click --repeat 2 1 type 120
xdotool mousemove 241 458 click 1 type 350:00
click 332 458; shot 04-carried                           # 120 flights and 350 hours carried over
click 247 488; sleep 1; shot 05-charts                   # hours per year, month, the ten sites
click 300 600; shot 06-bar                               # the bar of 2000: its flights selected in the list
click 196 488; sleep 0.5
xdotool mousemove 60 530 click --repeat 2 --delay 80 1; shot 07-record   # the longest flight, its row shown
click 25 12; sleep 0.5; shot 08-file-menu                # ログブック印刷 among the file commands
click 100 204; sleep 1; shot 09-range                    # its date range
xdotool type 16/06/01; xdotool key Return; sleep 2; shot 10-save   # no printer here: straight to a PDF
xdotool key ctrl+a; xdotool type "$OUT/window-book.pdf"; xdotool key Return; sleep 6
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$OUT/window-book.pdf" "$OUT/window-book-page1"
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$OUT/book.pdf" "$OUT/tool-book-page1"
kill "$(cat "$OUT/pid")"
