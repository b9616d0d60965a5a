#!/usr/bin/env bash
# Key to screen on the real program (a release build): starts a game, then
# key_to_screen (of the same build) presses cursor keys through XTEST and
# reads the screen back until pimuru 2 moves. Run it inside an X server of
# its own, e.g.
#   xvfb-run -a -s "-screen 0 1280x1024x24" measure_key_latency.sh <pimuru> <data folder> [window|fullscreen] [x11|weston] [presses]
# On x11 the game runs on that X server; on weston it runs on Wayland, in a
# weston (pixman renderer) whose X11 back end shows the compositor's output
# in a window of that X server, which is what is read back: the figures then
# include weston's own repaint.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
program=$(realpath "$1")
data=$2
mode=${3:-window}
on=${4:-x11}
presses=${5:-60}
tool="$(dirname "$program")/../../bench/latency/key_to_screen"
[ -x "$tool" ] || { echo "no $tool: build the target key_to_screen" >&2; exit 1; }
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
caption='ぴむるのゲーム Ver.1.1'
pids=()
runtime=""
trap 'kill "${pids[@]}" 2>/dev/null || true; [ -n "$runtime" ] && rm -rf "$runtime"' EXIT

window_named() { xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | grep -vx "${1:-none}" | head -1 || true; }
wait_for() { # a command's output, trying for 30 s
    local out
    for _ in $(seq 300); do
        out=$("$@")
        [ -n "$out" ] && { echo "$out"; return; }
        sleep 0.1
    done
    echo "gave up waiting for: $*" >&2
    exit 1
}

if [ "$on" = weston ]; then
    eval "$(xdotool getdisplaygeometry --shell)"
    runtime=$(mktemp -d)
    chmod 700 "$runtime"
    export XDG_RUNTIME_DIR=$runtime
    printf '[shell]\nanimation=none\nstartup-animation=none\nfocus-animation=none\n' >"$runtime/weston.ini"
    weston --backend=x11-backend.so --use-pixman --config="$runtime/weston.ini" --idle-time=0 \
        --socket=latency --width="$WIDTH" --height="$HEIGHT" >"$runtime/weston.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [ -S "$runtime/latency" ] && break; sleep 0.1; done
    export WAYLAND_DISPLAY=latency QT_QPA_PLATFORM=wayland
else
    export QT_QPA_PLATFORM=xcb
fi

cd "$data"
"$program" >/dev/null 2>&1 &
pids+=($!)
if [ "$on" = weston ]; then
    source "$here/../support/start_run_by_keys.sh"
    start_run_by_keys "$mode"
else
    launcher=$(wait_for window_named)
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$launcher")"
    [ "$mode" = window ] && xdotool mousemove $((X + 84)) $((Y + 198)) click 1
    xdotool mousemove $((X + 335)) $((Y + 118)) click 1
    if [ "$mode" = window ]; then
        box=$(wait_for window_named "$launcher")
        xdotool windowfocus --sync "$box" key Return # the advice about true colour
    fi
    sleep 1
    xdotool windowfocus --sync "$launcher"
fi
sleep 4 # the title, then the run
"$tool" "$presses" "$on $mode"
