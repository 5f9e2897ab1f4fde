#!/bin/bash
# Tries the program's on-top dialogs under a real window manager, as a pilot would: every
# question they raise must open above them and have the keyboard, a settings dialog closed
# by the window manager while it sends must let the message finish (the status bar follows
# it), OK during "送信終了" must open nothing, and exit during an upload must wait for it.
# Offscreen tests cannot see stacking, focus or the window manager's close button; this can.
#
#   tools/trials/windows.sh            (needs Xvfb, openbox, xdotool, wmctrl, ImageMagick)
#
# Screenshots go to /tmp/trial-windows; each check prints PASS or FAIL, and the script exits
# 1 when any failed. APP names the program (default: the test build).
set -u
out=/tmp/trial-windows
rm -rf "$out" && mkdir -p "$out/config/vevave" "$out/flights"
APP=${APP:-$(cd "$(dirname "$0")/../.." && pwd)/build/test/app/duvazi}
# A start folder whose path is longer than the setting keeps, so that OK in the start-folder
# dialog raises its message; the simulated instrument as the port.
deep="$out/flights/$(printf 'a%.0s' {1..60})/$(printf 'b%.0s' {1..60})"
mkdir -p "$deep"

TRIAL_DISPLAY=${TRIAL_DISPLAY:-93}
source "$(dirname "$0")/wm.sh"
write_settings

(cd "$out/flights" && XDG_CONFIG_HOME="$out/config" "$APP" >"$out/program.log" 2>&1) &
sleep 3
main_window
shot 00-start

# The send delays (Shift with the flyer-name item): 300 ms a byte makes a parameter upload
# last about eleven seconds, long enough to act during it.
menu shift+n
check "send delays open with the keyboard in the first field" "送信ディレイ設定" "$(active_window)"
xdotool key Tab ctrl+a; xdotool type 300; xdotool key Return; sleep 1

# The flyer name: typing goes to the name field, Enter asks.
menu n
xdotool type ABCDE; xdotool key Return
above_and_active "the send confirmation over the flyer-name dialog" "確認"
shot 01-confirmation
xdotool key Escape; sleep 0.5
wmctrl -c "フライヤー名登録"; sleep 0.5

# The parameters: a value out of range, the settings-file dialog, then a send closed midway.
menu q
xdotool key ctrl+a; xdotool type 9.9; xdotool key Return
above_and_active "the range message over the parameter dialog" "DUVAZI"
shot 02-range-message
xdotool key Return; sleep 0.5
xdotool key ctrl+a; xdotool type 1.5
click_in "ﾊﾟﾗﾒｰﾀ設定" 74 84
above_and_active "the settings-file dialog over the parameter dialog" "開く"
shot 03-settings-file-dialog
xdotool key Escape; sleep 0.5
# Back in the first field (the button that opened the file dialog keeps the focus).
click_in "ﾊﾟﾗﾒｰﾀ設定" 36 8
xdotool key Return; sleep 1
check "the send confirmation over the parameter dialog" "確認" "$(top_window)"
xdotool key y; sleep 2
shot 04-sending
wmctrl -c "ﾊﾟﾗﾒｰﾀ設定"; sleep 1.5
shot 05-closed-while-sending
if wmctrl -l | grep -q "ﾊﾟﾗﾒｰﾀ設定"; then echo "FAIL  the window manager's close button closed nothing"; failed=1
else echo "PASS  the dialog closed by the window manager while its upload goes on"; fi
sleep 11

# OK during "送信終了": nothing may open.
menu q
xdotool key Return; sleep 0.8; xdotool key y
sleep 13
xdotool key Return; sleep 0.6
shot 06-ok-during-done
if wmctrl -l | grep -q "確認"; then echo "FAIL  OK during 送信終了 opened a question"; failed=1
else echo "PASS  OK during 送信終了 opens nothing"; fi
sleep 2

# Exit during an upload waits for it, on top, and the program then ends.
menu q
xdotool key Return; sleep 0.8; xdotool key y; sleep 2
wmctrl -c DUVAZI
above_and_active "the wait for the upload at exit" "確認"
shot 07-exit-waits
# The start-folder question from a dialog would need the program again; the program ends
# once the upload has gone out whole.
for _ in $(seq 20); do pgrep -f "$APP" >/dev/null || break; sleep 1; done
if pgrep -f "$APP" >/dev/null; then echo "FAIL  the program did not end after its upload"; failed=1
else echo "PASS  the program ended once its upload had gone out"; fi

# The start-folder dialog with a folder too long for the setting: its message on top.
sed -i "s|^StartDir=.*|StartDir=sz:$deep/|; s|^DontAskdir=.*|DontAskdir=dword:0|" "$out/config/vevave/duvazi.conf"
(cd "$out/flights" && XDG_CONFIG_HOME="$out/config" "$APP" >>"$out/program.log" 2>&1) &
sleep 3
main_window
check "the start-folder dialog opens at start" "ﾌｫﾙﾀﾞｰ設定" "$(active_window)"
xdotool key Return
above_and_active "the path-too-long message over the start-folder dialog" "DUVAZI"
shot 08-path-too-long
xdotool key Return; sleep 0.5
pkill -f "$APP"
kill "$xvfb"
exit $failed
