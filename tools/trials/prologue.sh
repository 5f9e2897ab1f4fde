# What the trial scripts share, sourced after each sets OUT: the programs, a fresh home of
# its own under OUT (settings, the start-folder dialog's first showing), the flights folder
# as the current folder, and the screenshot and click helpers.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
APP=${APP:-$ROOT/build/test/app/duvazi}
TOOL=${TOOL:-$ROOT/build/test/tools/duvazi-tool}
export HOME=$OUT/home XDG_CONFIG_HOME=$OUT/home/cfg
rm -rf "$OUT/home" "$OUT/flights"
mkdir -p "$HOME" "$OUT/flights"
cd "$OUT/flights" || exit 1
shot() { sleep "${SHOT_DELAY:-1}"; import -window root "$OUT/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; }

# Starts the program on LOG and answers what a fresh home shows first: the message that
# the log has no names file, then the start-folder dialog (not shown again); the main
# window then fills the screen.
start_program() {
  "$APP" "$1" &
  echo $! > "$OUT/pid"
  sleep "${START_DELAY:-3}"
  xdotool key Return; sleep 1
  [ -n "${BEFORE_FOLDER_OK:-}" ] && eval "$BEFORE_FOLDER_OK"
  click 474 632; click 775 570; sleep 1
  wmctrl -r DUVAZI -e 0,0,0,1270,960; sleep 1
}
