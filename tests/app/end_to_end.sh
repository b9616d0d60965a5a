#!/usr/bin/env bash
# Plays the real program on an X server: starts it from the data folder,
# moves the launcher as a player would, clicks the start button, looks at the
# game in a screenshot (in full screen: not a pixel of the desktop left),
# quits with Esc, sees the launcher again where the player put it and starts
# a second run, which must show the first run's high score. Runs inside
# xvfb-run, with or without a window manager (with_window_manager.sh); needs
# xdotool, xwininfo, xprop, xsetroot and ImageMagick.
#   end_to_end.sh <pimuru> <data folder> window|fullscreen <folder for screenshots>
set -euo pipefail
program=$1
data=$2
mode=$3
out=$4
mkdir -p "$out"
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
source "$(dirname "$0")/../support/x_desktop.sh"

caption='ぴむるのゲーム Ver.1.1'
manager=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && echo "with a window manager" || echo "bare")
fail() {
    echo "FAIL ($mode, $manager): $*" >&2
    exit 1
}

paint_root
cd "$data"
"$program" >"$out/program-$mode.log" 2>&1 &
pid=$!
trap 'kill -9 $pid 2>/dev/null || true' EXIT

geometry() { # sets X Y WIDTH HEIGHT of the launcher window
    window_geometry "$window"
}
has_size() {
    geometry
    [ "$WIDTH" = "$1" ] && [ "$HEIGHT" = "$2" ]
}
shot() {
    import -window root "$out/$1.png"
}
# The share (0…1) of a screenshot rectangle close to a colour.
share_of() { # file colour w h x y
    convert "$out/$1.png" -crop "$3x$4+$5+$6" +repage -fuzz 15% -fill '#010203' -opaque "$2" \
        -fuzz 0 -fill black +opaque '#010203' -fill white -opaque '#010203' -format '%[fx:mean]' info:
}
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

# Where the 640 × 480 frame lands in the window: scaled to fit, centred.
frame_box() {
    geometry
    read -r scale left top < <(awk -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN {
        s = w / 640; if (h / 480 < s) s = h / 480
        printf "%f %d %d\n", s, (w - 640 * s) / 2, (h - 480 * s) / 2 }')
}
# A rectangle of the frame in screen coordinates: "w h x y".
frame_rect() { # x y w h in frame pixels
    awk -v s="$scale" -v ox="$((X + left))" -v oy="$((Y + top))" -v x="$1" -v y="$2" -v w="$3" -v h="$4" \
        'BEGIN { printf "%d %d %d %d\n", w * s, h * s, ox + x * s, oy + y * s }'
}

high_score_shown() { # the yellow high score text in the top middle
    shot "$1"
    frame_box
    at_least "$(share_of "$1" '#FFFF00' $(frame_rect 250 5 120 27))" 0.05
}

has_game_size() {
    if [ "$mode" = fullscreen ]; then
        has_size "$screen_width" "$screen_height"
    else
        has_size 640 480
    fi
}

start_run() {
    geometry
    xdotool mousemove $((X + 200 + 135)) $((Y + 80 + 38)) click 1
    if [ "$mode" = window ]; then
        # A true-colour desktop earns the advice to use 16-bit colour first.
        local box=""
        find_box() {
            box=$(xdotool search --onlyvisible --name "^$caption\$" | grep -vx "$window" | head -1 || true)
            [ -n "$box" ]
        }
        wait_for 20 find_box || fail "no colour advice on a true-colour desktop"
        xdotool windowfocus --sync "$box" key Return
    fi
    wait_for 30 has_game_size || fail "the window did not become the game screen"
}

window=""
find_launcher() {
    window=$(xdotool search --onlyvisible --name "^$caption\$" | head -1 || true)
    [ -n "$window" ]
}
wait_for 30 find_launcher || fail "no launcher window"
eval "$(xdotool getdisplaygeometry --shell)"
screen_width=$WIDTH
screen_height=$HEIGHT
has_size 501 256 || fail "launcher is ${WIDTH}x$HEIGHT, not 501x256"
# The launcher is the light panel with its pictures and captions, not black
# (a busy machine may show the window a moment before its first paint).
launcher_painted() {
    shot "launcher-$mode"
    ! at_least "$(share_of "launcher-$mode" '#000000' 501 256 "$X" "$Y")" 0.9
}
wait_for 10 launcher_painted || fail "the launcher is black"

# The player puts the launcher somewhere else; it comes back there after
# every run.
xdotool windowmove "$window" 40 30
moved() {
    geometry
    [ "$X" -lt 200 ] && [ "$Y" -lt 200 ]
}
wait_for 10 moved || fail "the launcher could not be moved"
launcher_x=$X
launcher_y=$Y
back_in_place() {
    has_size 501 256 && [ "$X" = "$launcher_x" ] && [ "$Y" = "$launcher_y" ]
}

if [ "$mode" = window ]; then
    xdotool mousemove $((X + 78 + 6)) $((Y + 192 + 6)) click 1 # untick "大きな画面で遊ぶ"
fi

start_run
if [ "$mode" = fullscreen ]; then
    has_size "$screen_width" "$screen_height" || fail "full screen is ${WIDTH}x$HEIGHT"
    # Over the whole screen, above anything a manager shows.
    covered() {
        shot "covered-$mode"
        [ "$(pixels_of_colour "$out/covered-$mode.png" "$uncovered_colour")" = 0 ]
    }
    wait_for 10 covered || fail "the full-screen game leaves part of the desktop uncovered"
else
    has_size 640 480 || fail "the game window is ${WIDTH}x$HEIGHT"
    # The window with its frame (if any) is centred.
    frame_extents "$window"
    [ $((X - FRAME_LEFT)) = $((screen_width / 2 - 320)) ] && [ $((Y - FRAME_TOP)) = $((screen_height / 2 - 240)) ] ||
        fail "the game window is not centred: $X,$Y (frame $FRAME_LEFT,$FRAME_TOP)"
fi
wait_for 30 high_score_shown "game-$mode" || fail "no high score text on the game screen"
frame_box
# The score text ("得点 …", white) blinks; one of a few shots shows it.
score_seen() {
    shot "score-$mode"
    at_least "$(share_of "score-$mode" '#FFFFFF' $(frame_rect 5 5 90 27))" 0.05
}
wait_for 5 score_seen || fail "no score text on the game screen"
# The background fills the screen: sky blue at the top, not black.
at_least "$(share_of "game-$mode" '#000000' $(frame_rect 20 60 600 300))" 0.5 &&
    fail "the game screen is mostly black"
# The fullest of a few shots: something flying over the text only hides it.
high_score_1=0
for shot_number in 1 2 3; do
    shot "high-score-$mode-$shot_number"
    share=$(share_of "high-score-$mode-$shot_number" '#FFFF00' $(frame_rect 250 5 120 27))
    high_score_1=$(awk -v a="$high_score_1" -v b="$share" 'BEGIN { print (b > a ? b : a) }')
    sleep 0.2
done

xdotool windowfocus --sync "$window" key Escape
wait_for 20 has_size 501 256 || fail "Esc did not bring the launcher back"
wait_for 5 back_in_place || fail "the launcher came back at $X,$Y, not at $launcher_x,$launcher_y"
shot "launcher-again-$mode"
at_least "$(share_of "launcher-again-$mode" '#000000' 501 256 "$X" "$Y")" 0.9 &&
    fail "the launcher came back black"

start_run
wait_for 30 high_score_shown "second-run-$mode" || fail "no high score text in the second run"
frame_box
# The same text in the same place: about as many yellow pixels (one digit
# more or less changes the count by a quarter or more). A drifter flying over
# the text changes the count for a moment, so a few shots are allowed.
same_high_score() {
    shot "second-run-$mode"
    high_score_2=$(share_of "second-run-$mode" '#FFFF00' $(frame_rect 250 5 120 27))
    awk -v a="$high_score_1" -v b="$high_score_2" 'BEGIN { exit !(b > a * 0.9 && b < a * 1.1) }'
}
wait_for 5 same_high_score ||
    fail "the second run shows another high score ($high_score_1 against $high_score_2)"

xdotool windowfocus --sync "$window" key Escape
wait_for 20 has_size 501 256 || fail "Esc did not end the second run"
wait_for 5 back_in_place || fail "after the second run the launcher is at $X,$Y, not at $launcher_x,$launcher_y"
echo "PASS ($mode, $manager): screenshots in $out"
