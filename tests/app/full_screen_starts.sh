#!/usr/bin/env bash
# Starts the real program afresh a number of times and clicks its start
# button with full screen ticked: every start must show the game mapped,
# over the whole screen, with no pixel of the desktop (painted a colour the
# game never uses) left. Meant to run under a window manager, where a window
# changing state may be lost between the manager and the program. Runs
# inside xvfb-run; needs xdotool, xwininfo, xprop, xsetroot and ImageMagick.
#   full_screen_starts.sh <pimuru> <data folder> <starts> <folder for screenshots>
set -euo pipefail
program=$1
data=$2
starts=$3
out=$4
mkdir -p "$out"
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
source "$(dirname "$0")/../support/x_desktop.sh"

caption='ぴむるのゲーム Ver.1.1'
start=0
pid=""
fail() {
    echo "FAIL (start $start of $starts): $*" >&2
    exit 1
}
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null || true' EXIT

paint_root
eval "$(xdotool getdisplaygeometry --shell)"
screen_width=$WIDTH
screen_height=$HEIGHT
cd "$data"

window=""
find_launcher() {
    window=$(xdotool search --onlyvisible --name "^$caption\$" | head -1 || true)
    [ -n "$window" ]
}
full_screen_shown() {
    window_geometry "$window"
    [ "$MAPPED" = 1 ] && [ "$WIDTH" = "$screen_width" ] && [ "$HEIGHT" = "$screen_height" ] || return 1
    import -window root "$out/start.png"
    [ "$(pixels_of_colour "$out/start.png" "$uncovered_colour")" = 0 ]
}

for start in $(seq 1 "$starts"); do
    "$program" >"$out/program.log" 2>&1 &
    pid=$!
    wait_for 30 find_launcher || fail "no launcher window"
    launcher_shown() { window_geometry "$window"; [ "$MAPPED" = 1 ] && [ "$WIDTH" = 501 ]; }
    wait_for 10 launcher_shown || fail "the launcher is not shown"
    xdotool mousemove $((X + 200 + 135)) $((Y + 80 + 38)) click 1
    wait_for 20 full_screen_shown ||
        fail "no full-screen game: window ${WIDTH}x$HEIGHT, mapped $MAPPED (screenshot $out/start.png)"
    kill $pid
    wait $pid 2>/dev/null || true
    pid=""
done
echo "PASS: $starts full-screen starts, screenshots in $out"
