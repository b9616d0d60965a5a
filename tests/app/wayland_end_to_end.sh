#!/usr/bin/env bash
# The real program on Wayland, inside with_weston.sh, read from weston's
# screenshots. "start" (weston's headless back end: no seat, no keyboard):
# the launcher shows and the program keeps running. "play" (with_weston.sh
# --seat inside xvfb-run, keys from xdotool): a full-screen run, Esc back to
# the launcher, a windowed run and Esc back again. Needs weston-screenshooter
# and ImageMagick.
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

# The launcher has the keyboard; its start button is one Tab away and
# "play on a large screen" (ticked) two.
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
xdotool key Escape
wait_for launcher_shown || fail "Esc did not bring the launcher back after the windowed run"
