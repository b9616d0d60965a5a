#!/usr/bin/env bash
# Measures the real program on an X server (run it inside xvfb-run, with a
# release build): how soon the launcher shows, how soon the game shows after
# the click, the processor time of a paced run, its peak resident size, and
# what a number of runs started and quit in a row add to the resident size.
#   measure_program.sh <pimuru> <data folder> [seconds of play, default 20] [window|fullscreen]
#                      [runs started and quit after it, default 20]
# Last, with the program gone, the frame loop alone runs as long as the play
# was measured (see run_frame_loop.sh; PIMURU_FRAME_LOOP=0 leaves it out).
set -euo pipefail
here=$(dirname "$(realpath "$0")")
program=$(realpath "$1")
data=$2
seconds=${3:-20}
mode=${4:-fullscreen}
restarts=${5:-20}
export QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
caption='ぴむるのゲーム Ver.1.1'
ticks=$(getconf CLK_TCK)
now_ms() { date +%s%3N; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
status_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }
size_is() { eval "$(xdotool getwindowgeometry --shell "$window")"; [ "$WIDTH" = "$1" ] && [ "$HEIGHT" = "$2" ]; }
# Waits for a condition; gives up when the program has gone or after 30 s.
poll() {
    local until=$(($(now_ms) + 30000))
    while ! "$@"; do
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "the program has ended (while waiting for: $*)" >&2
            exit 1
        fi
        if [ "$(now_ms)" -gt "$until" ]; then
            echo "gave up waiting for: $*" >&2
            exit 1
        fi
        sleep 0.005
    done
}

cd "$data"
start=$(now_ms)
"$program" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=""
find_launcher() {
    window=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -1 || true)
    [ -n "$window" ]
}
poll find_launcher
shown=$(now_ms)
echo "launcher visible after $((shown - start)) ms"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
if [ "$mode" = window ]; then
    xdotool mousemove $((X + 84)) $((Y + 198)) click 1
fi
eval "$(xdotool getdisplaygeometry --shell)"
screen="$WIDTH $HEIGHT"
game_size() { if [ "$mode" = window ]; then size_is 640 480; else size_is $screen; fi; }

# The game has shown when the high score's yellow text is on the screen.
yellow_on_screen() {
    local n
    n=$(import -window root -crop "${WIDTH}x60+${X}+${Y}" +repage png:- 2>/dev/null |
        convert - -fuzz 15% -fill '#010203' -opaque '#FFFF00' -fuzz 0 -fill black +opaque '#010203' \
            -fill white -opaque '#010203' -format '%[fx:mean]' info:)
    awk -v n="$n" 'BEGIN { exit !(n > 0.005) }'
}
find_advice() {
    box=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | grep -vx "$window" | head -1 || true)
    [ -n "$box" ]
}
run_once() { # click start, wait for the game, return the click-to-game time in $took
    eval "$(xdotool getwindowgeometry --shell "$window")"
    local click
    click=$(now_ms)
    xdotool mousemove $((X + 335)) $((Y + 118)) click 1
    if [ "$mode" = window ]; then # the true-colour advice
        box=""
        poll find_advice
        xdotool windowfocus --sync "$box" key Return
    fi
    poll game_size
    poll yellow_on_screen
    took=$(($(now_ms) - click))
}
quit_run() {
    xdotool windowfocus --sync "$window" key Escape
    poll size_is 501 256
}

run_once
echo "game visible $took ms after the click (screenshot polling: upper bound)"
sleep 2
# The X server of this display works for the game too: its time is counted
# apart (xvfb-run starts it as "Xvfb :N ...").
xserver=$(pgrep -f "^Xvfb ${DISPLAY%.*}( |\$)" | head -1 || true)
before=$(cpu_ticks $pid)
[ -n "$xserver" ] && server_before=$(cpu_ticks "$xserver")
sleep "$seconds"
after=$(cpu_ticks $pid)
playing=$(awk -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * t / hz / s }')
echo "processor time while playing: $playing% of one core over $seconds s"
if [ -n "$xserver" ]; then
    server_after=$(cpu_ticks "$xserver")
    awk -v t=$((server_after - server_before)) -v hz="$ticks" -v s="$seconds" \
        'BEGIN { printf "X server processor time meanwhile: %.2f%% of one core\n", 100 * t / hz / s }'
fi
echo "processor: $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)"
echo "peak resident size while playing: $(($(status_kb $pid VmHWM) / 1024)) MB"
quit_run
rss_first=$(status_kb $pid VmRSS)
for i in $(seq "$restarts"); do
    [ -n "${PIMURU_RSS_EACH_RUN:-}" ] && echo "  before run $i: $(status_kb $pid VmRSS) kB"
    run_once
    sleep 0.3
    quit_run
done
rss_last=$(status_kb $pid VmRSS)
echo "resident size after the first run: $((rss_first / 1024)) MB; after $restarts more: $((rss_last / 1024)) MB" \
    "(added $((rss_last - rss_first)) kB)"
echo "peak resident size overall: $(($(status_kb $pid VmHWM) / 1024)) MB"
# The frame loop alone, with the program gone.
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
"$here/run_frame_loop.sh" "$program" "$seconds" "$playing"
