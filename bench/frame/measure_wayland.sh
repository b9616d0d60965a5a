#!/usr/bin/env bash
# Measures the real program on Wayland (a release build): weston with its
# pixman renderer runs on its X11 back end inside an X server, which gives it
# a seat to type into; the program plays and the processor time of the
# program, of weston and of the X server beneath it are printed apart.
#   measure_wayland.sh <pimuru> <data folder> <width> <height> [seconds, default 20]
#                      [window|fullscreen] [output scale, default 1]
# <width> and <height> are in the output's own units (its pixels are that times
# the scale): run it inside xvfb-run -s "-screen 0 <width*scale>x<height*scale>x24".
# Last, with the program gone, the frame loop alone runs as long as the play
# was measured (see run_frame_loop.sh; PIMURU_FRAME_LOOP=0 leaves it out).
set -euo pipefail
here=$(dirname "$(realpath "$0")")
program=$(realpath "$1")
data=$2
width=$3
height=$4
seconds=${5:-20}
mode=${6:-fullscreen}
scale=${7:-1}
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
echo "processor: $(lscpu | sed -n 's/^Model name: *//p' | head -1)"

runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$runtime"' EXIT
cat >"$runtime/weston.ini" <<'INI'
[shell]
animation=none
startup-animation=none
focus-animation=none
INI
weston --backend=x11-backend.so --use-pixman --config="$runtime/weston.ini" --idle-time=0 --debug \
    --socket=measure --width="$width" --height="$height" --scale="$scale" \
    >"$runtime/weston.log" 2>&1 &
weston=$!
pids+=("$weston")
for _ in $(seq 100); do [ -S "$runtime/measure" ] && break; sleep 0.1; done
export WAYLAND_DISPLAY=measure QT_QPA_PLATFORM=wayland

cd "$data"
"$program" >/dev/null 2>&1 &
pid=$!
pids+=("$pid")
source "$here/../support/start_run_by_keys.sh"
start_run_by_keys "$mode"
sleep 5
shot="${TMPDIR:-/tmp}/measure-wayland-$mode.png"
(cd "$runtime" && weston-screenshooter) && mv "$runtime"/wayland-screenshot-*.png "$shot" && echo "screenshot: $shot"

# The X server of this display, not another one running beside it.
xserver=$(pgrep -n -f "^Xvfb ${DISPLAY:-none}( |\$)" || true)
sample() { echo "$(cpu_ticks $pid) $(cpu_ticks $weston) $([ -n "$xserver" ] && cpu_ticks "$xserver" || echo 0)"; }
read -r p0 w0 x0 < <(sample)
sleep "$seconds"
read -r p1 w1 x1 < <(sample)
share() { awk -v t="$1" -v hz="$ticks" -v s="$seconds" 'BEGIN { printf "%.1f%%", 100 * t / hz / s }'; }
echo "$mode ${width}x${height} scale $scale over $seconds s, % of one core:" \
    "game $(share $((p1 - p0))), weston $(share $((w1 - w0))), X server under weston $(share $((x1 - x0)))"
# The frame loop alone, with the program gone (see run_frame_loop.sh).
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
"$here/run_frame_loop.sh" "$program" "$seconds" "$(share $((p1 - p0)) | tr -d %)"
