#!/bin/bash
# Tries, as a pilot would under a real window manager, the statistics window opened on a log
# of 20,000 flights whose 10,000 barographs it has never read, while the pilot scrolls the
# log list: the barographs are read on a worker with the count shown in the window, and the
# program answers meanwhile. The program reports every hold of its event loop of 30 ms or
# more (DUVAZI_STALL_PROBE); the trial fails on one of 50 ms or more after the command.
#
#   tools/trials/statswork.sh        (needs Xvfb, openbox, xdotool, wmctrl, ImageMagick)
#
# Screenshots go to /tmp/trial-statswork; each check prints PASS or FAIL, and the script
# exits 1 when any failed. APP names the program and BENCH the statistics benchmark that
# writes the log (default: the release build's, else the test build's).
set -u
out=/tmp/trial-statswork
rm -rf "$out" && mkdir -p "$out/config/vevave" "$out/flights"
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/release
[ -x "$build/app/duvazi" ] || build=$root/build/test
APP=${APP:-$build/app/duvazi}
BENCH=${BENCH:-$build/bench/bench_statistics}
TRIAL_DISPLAY=${TRIAL_DISPLAY:-90}
QT_QPA_PLATFORM=offscreen "$BENCH" --write-log "$out/flights" >/dev/null 2>&1 || { echo "FAIL  the log was not written"; exit 1; }
source "$(dirname "$0")/wm.sh"
write_settings

t0=$(date +%s.%N)
(cd "$out/flights" && DUVAZI_STALL_PROBE=30 XDG_CONFIG_HOME="$out/config" "$APP" flights.log >"$out/program.log" 2>&1) &
sleep 6
main_window
wmctrl -r DUVAZI -e 0,0,0,1270,860; sleep 1
shot 00-log
before=$(wc -l < "$out/program.log")

# 統計 in the Edit menu.
xdotool key alt+e; sleep 0.4; xdotool key i; sleep 0.5
shot 01-statistics-reading
# The log list behind it: Ctrl+Tab brings it forward, then the pilot pages through it while
# the barographs are read.
xdotool key ctrl+Tab; sleep 0.3
xdotool mousemove 150 210 click 1; sleep 0.2
for i in $(seq 1 20); do xdotool key Next; sleep 0.15; done
shot 02-list-scrolled-meanwhile
for i in $(seq 1 10); do xdotool click 5; sleep 0.1; done
xdotool key ctrl+Tab; sleep 6
shot 03-statistics-done

stalls=$(tail -n +"$((before + 1))" "$out/program.log" | awk '/^stall/ { if ($2 > m) m = $2 } END { print m + 0 }')
echo "      longest hold of the event loop after the command: ${stalls} ms"
if awk -v s="$stalls" 'BEGIN { exit !(s < 50) }'; then echo "PASS  the program answered within 50 ms throughout"
else echo "FAIL  the event loop was held ${stalls} ms"; failed=1; fi

xdotool key alt+f; sleep 0.4; xdotool key x; sleep 1
xdotool key n 2>/dev/null; sleep 2
kill $xvfb 2>/dev/null
exit $failed
