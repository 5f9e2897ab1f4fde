#!/bin/bash
# Drives the real program through the window ライセンス・カレンシー: the notice at start of the
# rules lapsing within 30 days, the rules with their rows (a click selecting them in the log
# list), the proof PDF, and the gear list; a screenshot after each step into
# /tmp/trial-currency. Start a display with a window manager first, 1280 x 1000:
#   Xvfb :94 -screen 0 1280x1000x24 &  DISPLAY=:94 openbox &
# then: DISPLAY=:94 tools/trials/currency.sh
# Needs xdotool, wmctrl, ImageMagick (import) and pdftoppm; they are not part of scripts/setup.
OUT=/tmp/trial-currency
source "$(dirname "$0")/prologue.sh"
BARO=$ROOT/tests/data/barograph/V7081114.V35
# Eight flights over the last four months, dated from today; five with the same barograph.
python3 - <<'PY'
import datetime
today = datetime.date.today()
rows = [(-118, "足尾山", "00:58:00", "V1.V35", ""), (-100, "足尾山", "01:12:40", "V2.V35", ""),
        (-88, "板敷", "00:25:03", "", "講習で手入力"), (-80, "朝霧高原", "00:40:00", "V4.V35", ""),
        (-62, "足尾山", "01:30:00", "V5.V35", "ツリーランディング"), (-40, "白馬", "00:35:00", "", ""),
        (-12, "足尾山", "00:58:00", "V7.V35", "ランディング場手前で着陸"), (-5, "板敷", "00:20:00", "", "")]
with open("flights.csv", "w", encoding="utf-8-sig", newline="") as f:
    f.write(",日付,時刻,エリア,滞空時間,最大高度,最大上昇率,備考、コメント,ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ\r\n")
    for i, (days, site, duration, baro, comment) in enumerate(rows):
        day = today + datetime.timedelta(days=days)
        f.write("%d,%s,12:%02d:00,%s,%s,1713 m,4.7 m/s,%s,%s\r\n" % (i + 1, day.strftime("%y/%m/%d"), i, site, duration, comment, baro))
PY
for n in 1 2 4 5 7; do cp "$BARO" "V$n.V35"; done
"$TOOL" baro cut V7.V35 --right 2000 > /dev/null   # the recording ends in the air: no landing
"$TOOL" log import flights.csv flights.log || exit 1
ago() { date -d "$1 days ago" +%y/%m/%d; }
"$TOOL" gear flights.log add "ウイング EN-B" --kind glider --every-months 24 --every-hours 100 --every-flights 300
"$TOOL" gear flights.log add "ハーネス" --kind harness --every-months 36
"$TOOL" gear flights.log add "レスキュー" --kind reserve --every-months 6
"$TOOL" gear flights.log add "バリオ" --kind instrument --every-months 24
for g in "ウイング EN-B" ハーネス レスキュー バリオ; do "$TOOL" gear flights.log use "$g" --from "$(ago 200)"; done
"$TOOL" gear flights.log check レスキュー --on "$(ago 150)"
# The pilot's rules, as the window's presets make them (written here for a start without clicks).
python3 - "$(ago -20)" <<'PY'
import json, sys, urllib.parse
def enc(text):
    return urllib.parse.quote(text.encode("cp932"), safe=" /:.-_")
c = json.load(open("flights.duvazi.json", encoding="utf-8"))
c["rules"] = [
    {"name": enc("タンデム 90日以内に3フライト"), "kind": "flights", "min": 3, "withinDays": 90},
    {"name": enc("ライセンス申請 高度差300m以上"), "kind": "heightFlights", "min": 5, "minHeight": 300},
    {"name": enc("飛行日数 60日以内に2日"), "kind": "days", "min": 2, "withinDays": 60},
    {"name": enc("技能証 5時間"), "kind": "hours", "min": 5},
    {"name": enc("保険の期限"), "kind": "expiry", "expires": sys.argv[1]},
]
json.dump(c, open("flights.duvazi.json", "w", encoding="utf-8"), indent=1)
PY
"$TOOL" log currency flights.log > "$OUT/currency.txt"
"$TOOL" log currency flights.log --json > "$OUT/currency.json"
"$TOOL" gear flights.log due --json > "$OUT/gear.json"

"$APP" "$OUT/flights/flights.log" &
echo $! > "$OUT/pid"
sleep 4; shot 00-start
xdotool key Return; sleep 1                              # the notice read
click 474 632; click 775 570; sleep 1                    # the start-folder dialog, not shown again
wmctrl -r DUVAZI -e 0,0,0,1270,960; sleep 1; shot 01-log
click 75 12; sleep 0.5; shot 02-edit-menu                # ライセンス・カレンシー under 統計
click 156 230; sleep 2; shot 03-currency                 # the window, under the log list
xdotool mousemove 405 83 mousedown 1 mousemove 450 200 mousemove 405 408 mouseup 1; sleep 1   # below the log list
click 135 560; sleep 1; shot 04-rule-rows                # the height rule: its rows below, selected in the log list
click 722 499; sleep 2; shot 05-proof-save               # 証明PDF asks where
xdotool key ctrl+a; xdotool type "$OUT/proof.pdf"; xdotool key Return; sleep 3; shot 06-proof-written
xdotool key Return; sleep 0.5
click 105 467; sleep 1; shot 07-gear                     # the gear list
pdftoppm -png -r 70 -f 1 -l 1 -singlefile "$OUT/proof.pdf" "$OUT/proof-page1"
kill "$(cat "$OUT/pid")"
