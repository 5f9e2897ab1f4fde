#!/bin/bash
# Drives the real program under Xvfb through open, add, sort, delete, save, save as and
# reopen, taking a screenshot after each step into /tmp/trial. Menu positions are those of
# the default fonts on a 1280 x 800 screen. Prepare /tmp/trial/flights with the logs named
# below, then: xvfb-run -a -s "-screen 0 1280x800x24" tools/trials/logbook.sh
# Needs xdotool and ImageMagick (import); they are not part of scripts/setup.
export HOME=/tmp/trial/home XDG_CONFIG_HOME=/tmp/trial/home/cfg
mkdir -p $HOME
cd /tmp/trial/flights
APP=${APP:-$(dirname "$0")/../../build/release/app/duvazi}
$APP &
pid=$!
sleep 3
shot() { import -window root /tmp/trial/$1.png; }
menu() { xdotool mousemove $1 8 click 1; sleep 0.7; xdotool mousemove $2 $3 click 1; sleep 1.2; }
typ() { xdotool type --delay 20 "$1"; sleep 0.4; xdotool key Return; sleep 1.2; }
file_menu() { menu 28 60 $1; }
edit_menu() { menu 82 110 $1; }
shot 00-start
file_menu 50; shot 01-open-dialog
typ /tmp/trial/flights/three-flights.log; shot 02-opened
file_menu 72; typ /tmp/trial/flights/autumn.log; shot 03-added-message
xdotool key Return; sleep 1; shot 04-added
edit_menu 118; shot 05-sort-message
xdotool key Return; sleep 1; shot 06-sorted
# select flights 2..3 in the grid (rows at y = 134 + 18 * (n - 1) + ... ) and delete
xdotool mousemove 60 152 click 1; sleep 0.3; xdotool keydown shift mousemove 60 170 click 1 keyup shift; sleep 0.6
shot 07-selected
edit_menu 28; shot 08-delete-question
xdotool key Return; sleep 1; shot 09-baro-question
xdotool key Return; sleep 1; shot 10-deleted
file_menu 116; shot 11-saved
file_menu 138; shot 12-saveas-dialog
typ /tmp/trial/flights/spring2024; shot 13-saved-as
file_menu 50; typ /tmp/trial/flights/three-flights.log; shot 14-reopened
echo "$pid" > /tmp/trial/pid
