#!/bin/bash
# Tries the barograph windows' tool windows and the main window's place under a real window
# manager, as a pilot would: three barographs (rows 20 to 22 of a log) with their tools,
# cascaded, tiled, one maximised and restored: every caption button of every window must be
# seen whole and every tool must stand whole in the workspace (a tool cut by its edge is one
# past the screen); the boxes and dialogs raised from a graph and its tools must open on top
# with the keyboard (高度補正, a cut's question, the close question and its save dialog,
# "すでに表示しています。", the question before ﾛｸﾞﾌｧｲﾙを開く and that dialog; 高度補正 again over
# an on-top settings dialog); and eight starts and closes must leave the main window's frame
# where it was.
#
#   tools/trials/toolwindows.sh   (needs Xvfb, openbox, xdotool, wmctrl, xwininfo, xprop,
#                                  ImageMagick and python3)
#
# Screenshots go to /tmp/trial-toolwindows; each check prints PASS or FAIL, and the script
# exits 1 when any failed. APP and TOOL name the programs (default: the test build).
set -u
out=/tmp/trial-toolwindows
rm -rf "$out" && mkdir -p "$out/config/vevave" "$out/flights"
here=$(cd "$(dirname "$0")" && pwd)
APP=${APP:-$here/../../build/test/app/duvazi}
TOOL=${TOOL:-$here/../../build/test/tools/duvazi-tool}
TRIAL_DISPLAY=${TRIAL_DISPLAY:-92}
source "$here/wm.sh"
write_settings
# Where the pilot left the main window: clear of the screen's edges, so that a tool standing
# past the workspace's edge would be seen cut.
frame="40 30 1200 840"
read -r fx fy fw fh <<<"$frame"
printf 'WindowState=dword:0\nFormLeft=dword:%d\nFormTop=dword:%d\nFormWidth=dword:%d\nFormHeight=dword:%d\n' \
  "$fx" "$fy" "$fw" "$fh" >> "$out/config/vevave/duvazi.conf"

# 22 flights, the last three with a barograph of four to four and a half hours at 2 s.
(cd "$out/flights" && python3 - "$here/../../tests/data/barograph" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
from make_samples import barograph, thermal_flight
with open("flights.csv", "w", encoding="utf-8-sig", newline="") as f:
    f.write(",日付,時刻,エリア,滞空時間,最大高度,最大上昇率,備考、コメント,ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ\r\n")
    for i in range(22):
        name = "V%07d.V%02d" % (4050100 + i, i) if i >= 19 else ""
        if name:
            open(name, "wb").write(barograph(2, thermal_flight(30 + i, 2, 50 + 10 * i)))
        f.write("%d,24/05/%02d,1%d:00:00,足尾山,01:00:00,1200 m,2.0 m/s,,%s\r\n" % (i + 1, i + 1, i % 10, name))
PY
"$TOOL" log import flights.csv flights.log >/dev/null) || exit 1

start() {
  (cd "$out/flights" && XDG_CONFIG_HOME="$out/config" "$APP" "$@" >>"$out/program.log" 2>&1) &
  sleep 3
  pid=$(pgrep -n -f "$APP")
  main_window
}
running() { kill -0 "$pid" 2>/dev/null; }
# Closed by the window manager's close button; it must end.
close_program() {
  wmctrl -i -c "$main"
  for _ in $(seq 10); do running || break; sleep 1; done
  if running; then echo "FAIL  $1: the program did not end"; failed=1; kill "$pid"; fi
}
# The main window's client area on the screen (X, Y, WIDTH, HEIGHT), and its frame,
# "x y width height".
client() {
  local info
  info=$(xwininfo -id "$main")
  X=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$info"); Y=$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$info")
  WIDTH=$(awk '/Width:/ { print $NF }' <<<"$info"); HEIGHT=$(awk '/Height:/ { print $NF }' <<<"$info")
}
frame_of() {
  local l r t b
  client
  read -r l r t b <<<"$(xprop -id "$main" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ,)"
  echo "$((X - l)) $((Y - t)) $((WIDTH + l + r)) $((HEIGHT + t + b))"
}
# Clicks at a point of the main window's client area.
click_main() { client; xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 1; }
window_menu() { xdotool key alt+w; sleep 0.4; xdotool key "$1"; sleep 1.5; }

# Every window's caption buttons seen whole, every tool seen whole where it meets the
# workspace's edge, and how many of each tool are seen at all.
look() { # name, windows whose caption buttons must be seen
  xdotool mousemove 0 0; sleep 0.3 # no button under the mouse: a lit one looks otherwise
  shot "$1"
  check "$1: caption buttons seen" "$2" "$(python3 "$here/onscreen.py" captions "$out/$1.png" | wc -l)"
  client
  python3 "$here/onscreen.py" tools "$out/$1.png" > "$out/$1.tools"
  local cut
  cut=$(awk -v r=$((X + WIDTH)) -v b=$((Y + HEIGHT)) -v l="$X" '
    { full = $1 == "cursor" ? ($4 == 478) : ($4 == 348) }
    ($2 + $4 >= r - 2 || $2 <= l + 2) && !full { n++ } END { print n + 0 }' "$out/$1.tools")
  check "$1: no tool cut by the workspace's edge" 0 "$cut"
}
count() { grep -c "^$1 " "$out/$2.tools"; }
# A button of a whole cursor strip, by its place on the strip (the strip's yellow begins
# 2 px inside its bevel): 高度補正 at 344, cursor on/off 318, the cuts 370 and 396, close
# 450 on the first row; テイクオフ at 23 on the second.
tool_button() { # screenshot that shows the strip, x of the button, its row (1 or 2)
  local x y
  read -r x y <<<"$(awk '$1 == "cursor" && $4 == 478 { print $2, $3; exit }' "$out/$1.tools")"
  xdotool mousemove $((x + $2 + 10)) $((y + ${3:-1} * 27 - 12)) click 1
  sleep 1
}
is_box() { # what: the top window is a box of the program other than the main window, active
  sleep 1
  local top active
  top=$(top_window); active=$(active_window)
  if [ "$top" != "(main window)" ] && [ "$top" = "$active" ]; then echo "PASS  $1 (\"$top\")"
  else echo "FAIL  $1: on top \"$top\", active \"$active\""; failed=1; fi
}

start "$out/flights/flights.log"
check "first start: the frame where it was left" "$frame" "$(frame_of)"
shot 00-start
# Rows 20 to 22 chosen in the log list, and バログラフ表示.
click_main 250 120
xdotool key ctrl+End shift+Up shift+Up; sleep 0.5
click_main 140 31
sleep 4
# Taller than the workspace, each graph opens a step below the last, not over it.
look 00-opened 4

window_menu c
look 01-cascade 4
window_menu t
look 02-tile 4
# The active window's maximise button: the middle glyph of the white row.
read -r bx by <<<"$(python3 "$here/onscreen.py" captions "$out/02-tile.png" | awk '$3 == "white" { print $1, $2; exit }')"
xdotool mousemove $((bx + 24)) $((by + 4)) click 1; sleep 1.5
look 03-maximised 0
check "03-maximised: one cursor tool seen (the others hidden)" 1 "$(count cursor 03-maximised)"
check "03-maximised: one climbs tool seen" 1 "$(count climbs 03-maximised)"
# Restored by the restore button, the middle one at the menu bar's right end.
client; xdotool mousemove $((X + WIDTH - 32)) $((Y + 9)) click 1; sleep 1.5
look 04-restored 4

# The boxes raised from a graph's tools and for its graph.
tool_button 04-restored 344
above_and_active "高度補正 from the cursor tool" "高度補正"
shot 05-height-adjust
xdotool key Return; sleep 1 # corrected: the trace is changed
# Again with an on-top settings dialog up: 高度補正 above it all the same.
menu q
tool_button 04-restored 344
above_and_active "高度補正 with ﾊﾟﾗﾒｰﾀ設定 up" "高度補正"
shot 05-height-adjust-over-settings
xdotool key Escape; sleep 0.5
wmctrl -c "ﾊﾟﾗﾒｰﾀ設定"; sleep 0.5
tool_button 04-restored 318 # the cursor on
tool_button 04-restored 23 2 # at the take-off
tool_button 04-restored 370
above_and_active "the left cut's question" "確認"
shot 06-cut-question
xdotool key Escape; sleep 0.5
tool_button 04-restored 450
above_and_active "the close question after the correction" "確認"
shot 07-close-question
xdotool key y
is_box "the save dialog of the close question"
shot 08-save-dialog
xdotool key Escape; sleep 1
click_main 140 31
above_and_active "すでに表示しています。" "DUVAZI"
shot 09-already-shown
for _ in 1 2 3; do [ "$(top_window)" = DUVAZI ] && xdotool key Return && sleep 0.8; done # one for each row
xdotool key alt+f; sleep 0.4; xdotool key o
above_and_active "the question before ﾛｸﾞﾌｧｲﾙを開く" "確認"
shot 10-open-gate
xdotool key Return # OK: every window closes, the changed graph asking first
above_and_active "the changed graph's close question" "確認"
shot 11-close-question-at-open
xdotool key n
above_and_active "ﾛｸﾞﾌｧｲﾙを開く" "開く"
shot 12-open-dialog
xdotool key Escape; sleep 1
close_program "after the boxes"

# Eight starts and closes: the frame stays where it was.
for i in 1 2 3 4 5 6 7 8; do
  start
  check "start $i: the frame where it was left" "$frame" "$(frame_of)"
  [ "$i" = 8 ] && shot 13-eighth-start
  close_program "start $i"
done
kill "$xvfb"
exit $failed
