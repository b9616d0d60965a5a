#!/usr/bin/env bash
# The real program on Wayland, inside with_weston.sh, read from weston's
# screenshots. "start" (weston's headless back end: no seat, no keyboard):
# the launcher shows and the program keeps running. "play" (with_weston.sh
# --seat inside xvfb-run, keys from xdotool): the help window, the launcher
# and a windowed game are maximised by the compositor (weston's own key) and
# the program goes on; a full-screen run, Esc back to the launcher, a
# windowed run and Esc back again. Needs weston-screenshooter and ImageMagick.
#   wayland_end_to_end.sh <pimuru> <data folder> start|play <folder for screenshots>
set -euo pipefail
program=$1
data=$2
mode=$3
out=$4
mkdir -p "$out"
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
shots=$(mktemp -d)
log="$out/program-wayland-$mode.log"

cd "$data"
"$program" >"$log" 2>&1 &
pid=$!
trap 'kill -9 $pid 2>/dev/null || true; rm -rf "$shots"' EXIT
fail() {
    echo "FAIL (wayland $mode): $*" >&2
    cat "$log" >&2
    exit 1
}

shot() { # takes a screenshot into $shots/screen.png and keeps a copy as $out/$1.png
    rm -f "$shots"/*.png
    (cd "$shots" && weston-screenshooter) || fail "weston-screenshooter failed"
    mv "$shots"/wayland-screenshot-*.png "$shots/screen.png"
    cp "$shots/screen.png" "$out/wayland-$1.png"
}
# How many pixels of the last screenshot are close to a colour.
pixels_of() {
    convert "$shots/screen.png" -fuzz 8% -fill '#010203' -opaque "$1" -fuzz 0 -fill black +opaque '#010203' \
        -fill white -opaque '#010203' -format '%[fx:round(mean * w * h)]' info:
}
# Polls a check once a second for up to a minute.
wait_for() {
    for _ in $(seq 60); do
        kill -0 $pid 2>/dev/null || fail "the program ended by itself"
        if "$@"; then return 0; fi
        sleep 1
    done
    return 1
}
# The launcher's pink title, and no game on the screen.
launcher_shown() { shot launcher && [ "$(pixels_of '#FF0080')" -gt 300 ] && [ "$(pixels_of '#FFFF00')" -lt 50 ]; }
# The game's yellow high score, and no launcher.
game_shown() { shot "$1" && [ "$(pixels_of '#FFFF00')" -gt 200 ] && [ "$(pixels_of '#FF0080')" -lt 50 ]; }
# Whether the screen's bottom-left corner shows weston's grey desktop (a
# window) rather than the game's sand (full screen).
corner_is_desktop() {
    local rgb
    rgb=$(convert "$shots/screen.png" -gravity SouthWest -crop 1x1+2+2 +repage -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:)
    awk -v c="$rgb" 'BEGIN { split(c, v, " "); exit !(v[1] < 170 && v[3] > 90 && v[1] - v[3] < 40) }'
}

wait_for launcher_shown || fail "no launcher on the screen"
if [ "$mode" = start ]; then
    sleep 1
    kill -0 $pid 2>/dev/null || fail "the program ended after showing its launcher"
    exit 0
fi

# weston maximises the window that has the keyboard (Super+Shift+M, again to
# give it back its size); Tab and Shift+Tab repaint the window at its new
# size with the focus back where it was.
maximise() { xdotool key super+shift+m; sleep 2; }
repaint() { xdotool key Tab shift+Tab; sleep 1; }
alive() { kill -0 $pid 2>/dev/null || fail "the program ended after a maximise ($1)"; }

# The launcher has the keyboard on its help button; its start button is one
# Tab away and "play on a large screen" (ticked) two.
xdotool key space
sleep 3
maximise
repaint
alive "help window"
shot help-maximised
[ "$(pixels_of '#FF0080')" -lt 50 ] || fail "the maximised help window does not cover the launcher"
maximise
xdotool key Escape
wait_for launcher_shown || fail "the help window did not close"

maximise
repaint
alive launcher
wait_for launcher_shown || fail "no launcher after a maximise"
corner_is_desktop && fail "the maximised launcher does not cover the screen"
maximise
repaint
wait_for launcher_shown || fail "no launcher after it was given its size back"

xdotool key Tab space
wait_for game_shown full-screen-run || fail "no full-screen game"
corner_is_desktop && fail "the full-screen run does not cover the screen"
xdotool key Escape
wait_for launcher_shown || fail "Esc did not bring the launcher back"

# Focus stays on the start button: untick full screen, start again.
xdotool key Tab space shift+Tab space
sleep 3
xdotool key Return # the advice about true colour
wait_for game_shown window-run || fail "no windowed game"
corner_is_desktop || fail "the windowed run covers the screen"
windowed_yellow=$(pixels_of '#FFFF00')
maximise
alive "windowed game"
# The picture grows with the window (4 : 3 kept), its texts with it.
game_scaled() { game_shown window-run-maximised && [ "$(pixels_of '#FFFF00')" -gt $((windowed_yellow * 3 / 2)) ]; }
wait_for game_scaled || fail "no game scaled to the maximised window"
corner_is_desktop && fail "the maximised game window does not cover the screen"
maximise
alive "windowed game given its size back"
wait_for game_shown window-run || fail "no game after the window got its size back"
xdotool key Escape
wait_for launcher_shown || fail "Esc did not bring the launcher back after the windowed run"
