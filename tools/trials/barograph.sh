#!/bin/bash
# Drives the real program under Xvfb through a long flight's barograph: open, zoom with the
# buttons and Shift, pan, rubber-zoom, correct, print to PDF, save; a screenshot after each
# step into /tmp/trial12. Prepare /tmp/trial12/flights with three-flights.log and a long
# 24050310.BRG, then: xvfb-run -a -s "-screen 0 1280x1000x24" tools/trials/barograph.sh
# Needs xdotool and ImageMagick (import); they are not part of scripts/setup.
export HOME=/tmp/trial12/home XDG_CONFIG_HOME=/tmp/trial12/home/cfg
mkdir -p $HOME
cd /tmp/trial12/flights
APP=${APP:-$(dirname "$0")/../../build/release/app/duvazi}
$APP /tmp/trial12/flights/three-flights.log &
pid=$!
sleep 3
shot() { sleep 0.8; import -window root /tmp/trial12/$1.png; }
click() { xdotool mousemove $1 $2 click ${3:-1}; }
shot 00-start
echo "$pid" > /tmp/trial12/pid
wid=$(xdotool search --name "^DUVAZI" | head -1)
xdotool windowmove $wid 0 0 windowsize $wid 1270 990; sleep 1
click 139 32; shot 01-graph                       # the flight's barograph
click 1006 98; shot 02-zoom-tool                  # the zoom tool window
click 774 109; click 774 109; shot 03-zoomed-in   # two horizontal zooms in
xdotool keydown shift; click 774 109; xdotool keyup shift; shot 04-scrolled   # Shift: scroll right
click 747 97; shot 05-vertical-zoom
xdotool mousemove 1000 500 mousedown 3 mousemove 950 520 mousemove 900 540 mouseup 3; shot 06-panned
xdotool mousemove 900 480 mousedown 1; sleep 0.3; xdotool mousemove 920 480 mousemove 945 480; sleep 0.3; xdotool mouseup 1; shot 07-rubber
click 900 480; shot 08-cursor
