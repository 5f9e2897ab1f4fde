# What the trials under a real window manager share, sourced once $out and $APP are set: an
# Xvfb screen with openbox on TRIAL_DISPLAY, screenshots, the stacking and keyboard checks
# (PASS or FAIL lines; $failed becomes 1 on a failure), the menus and clicks by fractions.
export DISPLAY=:${TRIAL_DISPLAY}
Xvfb "$DISPLAY" -screen 0 1280x900x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
openbox >/dev/null 2>&1 &
sleep 1

# The program's settings for a trial: the simulated instrument as the port, the flights
# folder as the start folder, the start-folder dialog not shown.
write_settings() {
  mkdir -p "$out/config/vevave" "$out/flights"
  cat > "$out/config/vevave/duvazi.conf" <<CONF
ComDevice=sz:simulator
IfDirSet=dword:1
DontAskdir=dword:1
StartDir=sz:$out/flights/
CONF
}

failed=0
shot() { import -window root "$out/$1.png"; }
# Titles, with the main window marked: a message box is titled "DUVAZI" like the main window.
name_of() {
  local id=$(($1))
  if [ "$id" = "$main" ]; then echo "(main window)"; else xdotool getwindowname "$id" 2>/dev/null; fi
}
top_window() { name_of "$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*$')"; }
active_window() { name_of "$(xdotool getactivewindow)"; }
# The main window: the one shown (Qt keeps a hidden 1 x 1 window of the same name).
main_window() { main=$(($(xdotool search --onlyvisible --name '^DUVAZI$' | head -1))); }
check() { # what, expected window title (start), actual
  if [[ "$3" == "$2"* ]]; then echo "PASS  $1"; else echo "FAIL  $1: \"$3\", not \"$2\""; failed=1; fi
}
above_and_active() { # what, the box's title
  sleep 1
  check "$1 is on top" "$2" "$(top_window)"
  check "$1 has the keyboard" "$2" "$(active_window)"
}
menu() { xdotool key alt+o; sleep 0.4; xdotool key "$1"; sleep 1; }
# Clicks a point of a window given as fractions of its size.
click_in() {
  local id x y w h
  id=$(xdotool search --name "$1" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  x=$((X + WIDTH * $2 / 100)); y=$((Y + HEIGHT * $3 / 100))
  xdotool mousemove "$x" "$y" click 1
  sleep 1
}
