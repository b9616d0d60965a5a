#!/usr/bin/env bash
# Replays with the real program on an X server: a windowed run played with
# keys and ended with Esc leaves a replay that checks clean (and fails once a
# byte of it changes), the launcher lists it and watching it shows the game
# with its time line, Esc comes back, and a run ended by SIGTERM is kept too.
# Also the command line's --help and its refusal of unknown options. Runs
# inside xvfb-run; needs xdotool, xwininfo and ImageMagick.
#   replays.sh <pimuru> <data folder> <folder for screenshots>
set -euo pipefail
program=$1
data=$2
out=$3
mkdir -p "$out"
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
XDG_DATA_HOME=$(mktemp -d)
export XDG_DATA_HOME
replays=$XDG_DATA_HOME/pimuru/replays
pid=""
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$XDG_DATA_HOME"' EXIT
source "$(dirname "$0")/../support/x_desktop.sh"
caption='ぴむるのゲーム Ver.1.1'
fail() {
    echo "FAIL (replays): $*" >&2
    exit 1
}

"$program" --help | grep -q -- '--replay FILE' || fail "--help does not list --replay"
status=0
"$program" --no-such-option 2>"$out/unknown.txt" || status=$?
[ "$status" = 2 ] || fail "an unknown option ended with $status, not 2"
grep -q "unknown option '--no-such-option'" "$out/unknown.txt" || fail "no line about the unknown option"

cd "$data"
"$program" --windowed >"$out/replays-program.log" 2>&1 &
pid=$!
window=""
find_launcher() {
    window=$(xdotool search --onlyvisible --name "^$caption\$" | head -1 || true)
    [ -n "$window" ]
}
wait_for 30 find_launcher || fail "no launcher window"
has_size() {
    window_geometry "$window"
    [ "$WIDTH" = "$1" ] && [ "$HEIGHT" = "$2" ]
}
wait_for 10 has_size 501 256 || fail "no launcher of 501x256"
# The windowed game on a true-colour desktop first advises 16-bit colour.
into_game() {
    local box=""
    find_box() {
        box=$(xdotool search --onlyvisible --name "^$caption\$" | grep -vx "$window" | head -1 || true)
        [ -n "$box" ]
    }
    wait_for 20 find_box || fail "no colour advice"
    xdotool windowfocus --sync "$box" key Return
    wait_for 30 has_size 640 480 || fail "the window did not become the game screen"
    xdotool windowfocus --sync "$window"
}
start_run() {
    window_geometry "$window"
    xdotool mousemove $((X + 200 + 135)) $((Y + 80 + 38)) click 1
    into_game
}
count_replays() { find "$replays" -name '*.pimuru-replay' 2>/dev/null | wc -l; }

# A run played with keys, ended with Esc.
start_run
sleep 1
xdotool keydown Left
sleep 1
xdotool keyup Left keydown a
sleep 1
xdotool keyup a key Escape
wait_for 20 has_size 501 256 || fail "Esc did not bring the launcher back"
kept_one() { [ "$(count_replays)" = 1 ]; }
wait_for 10 kept_one || fail "the run left no replay in $replays"
file=$(find "$replays" -name '*.pimuru-replay')
"$program" --check-replay "$file" >"$out/check.txt" || fail "the replay does not check clean: $(cat "$out/check.txt")"
cp "$file" "$out/changed.pimuru-replay"
printf '\x55' | dd of="$out/changed.pimuru-replay" bs=1 seek=40 conv=notrunc status=none
if "$program" --check-replay "$out/changed.pimuru-replay" >"$out/check-changed.txt" 2>&1; then
    fail "a replay with a byte changed checks clean"
fi

# The launcher's list shows it; watching it shows the game and its time line.
window_geometry "$window"
xdotool mousemove $((X + 371 + 50)) $((Y + 229 + 10)) click 1
list=""
find_list() {
    list=$(xdotool search --onlyvisible --name '^リプレイ$' | head -1 || true)
    [ -n "$list" ]
}
wait_for 20 find_list || fail "the replay button shows no list"
sleep 0.5
import -window root "$out/replay-list.png"
xdotool windowfocus --sync "$list" key Return
into_game
sleep 1.5
import -window "$window" "$out/watching.png"
# The time line: a black box at the bottom left with white text in it.
white=$(convert "$out/watching.png" -crop 200x20+4+458 +repage -fuzz 20% -fill black +opaque white \
    -format '%[fx:mean]' info:)
awk -v w="$white" 'BEGIN { exit !(w > 0.02) }' || fail "no time line while watching ($white)"
xdotool key space period H
sleep 0.5
import -window "$window" "$out/watching-paused-hidden.png"
# Hidden, the line leaves no black box behind: the sand shows there again.
black=$(convert "$out/watching-paused-hidden.png" -crop 280x20+4+458 +repage -fuzz 10% -fill white -opaque black \
    -fill black +opaque white -format '%[fx:mean]' info:)
awk -v b="$black" 'BEGIN { exit !(b < 0.3) }' || fail "the hidden time line left its box ($black black)"
xdotool key Escape
wait_for 20 has_size 501 256 || fail "Esc did not end the watching"
[ "$(count_replays)" = 1 ] || fail "watching recorded a replay"

# A run ended by SIGTERM is kept, and the program ends as signalled.
start_run
sleep 1
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" = 143 ] || fail "SIGTERM ended the program with $status, not 143"
[ "$(count_replays)" = 2 ] || fail "the run ended by SIGTERM left no replay"
echo "replays: kept, checked, listed, watched; SIGTERM kept its run"
