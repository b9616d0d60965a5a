#!/usr/bin/env bash
# Compares the processor time of two builds of the program while playing.
# On a machine whose speed drifts (a shared virtual machine can vary by a
# third within minutes) runs one after another mislead; here both builds play
# at the same moment, each on its own X server (and its own weston for
# Wayland), and every round swaps which one starts first, since the later one
# tends to read a little lower. Each round is printed, then the median ratio
# candidate / reference of the program's share, of the server's share
# (weston on Wayland, the X server on X11) and of both together.
# Two runs at once push both figures up: read the ratios, not the shares.
#   compare_builds.sh <reference pimuru> <candidate pimuru> <data folder>
#                     [rounds, default 6] [x11|wayland, default x11]
#                     [window|fullscreen, default window] [WIDTHxHEIGHT, default 1024x768]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
reference=$(realpath "$1")
candidate=$(realpath "$2")
data=$(realpath "$3")
rounds=${4:-6}
platform=${5:-x11}
mode=${6:-window}
size=${7:-1024x768}
width=${size%x*}
height=${size#*x}
seconds=20
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# Plays one build and leaves "<program %> <server %>" in the file given.
measure() {
    local program=$1 out=$2 log
    log="$out.log"
    if [ "$platform" = wayland ]; then
        PIMURU_FRAME_LOOP=0 xvfb-run -a -s "-screen 0 ${size}x24" "$here/measure_wayland.sh" "$program" "$data" "$width" "$height" \
            "$seconds" "$mode" >"$log" 2>&1 || true
        sed -n 's/.*game \([0-9.]*\)%, weston \([0-9.]*\)%.*/\1 \2/p' "$log" >"$out"
    else
        PIMURU_FRAME_LOOP=0 xvfb-run -a -s "-screen 0 ${size}x24" "$here/measure_program.sh" "$program" "$data" "$seconds" "$mode" 0 \
            >"$log" 2>&1 || true
        echo "$(sed -n 's/^processor time while playing: \([0-9.]*\)%.*/\1/p' "$log")" \
            "$(sed -n 's/^X server processor time meanwhile: \([0-9.]*\)%.*/\1/p' "$log")" >"$out"
    fi
    if ! grep -Eq '^[0-9.]+ [0-9.]+$' "$out"; then
        echo "a run gave no figures; its output:" >&2
        cat "$log" >&2
        exit 1
    fi
}

server=X
[ "$platform" = wayland ] && server=weston
echo "processor: $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)"
echo "$platform $mode $size, $seconds s a run, % of one core (program / $server)"
for round in $(seq "$rounds"); do
    if ((round % 2)); then
        first=reference
        measure "$reference" "$logs/reference" &
        sleep 1
        measure "$candidate" "$logs/candidate" &
    else
        first=candidate
        measure "$candidate" "$logs/candidate" &
        sleep 1
        measure "$reference" "$logs/reference" &
    fi
    wait
    read -r rp rs <"$logs/reference"
    read -r cp cs <"$logs/candidate"
    echo "round $round ($first first): reference $rp / $rs, candidate $cp / $cs"
    echo "$rp $rs $cp $cs" >>"$logs/rounds"
done
awk '
    function median(v, n,   i, j, t) {
        for (i = 2; i <= n; ++i)
            for (j = i; j > 1 && v[j - 1] > v[j]; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
        return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
    }
    { ++n; p[n] = $1 > 0 ? $3 / $1 : 1; s[n] = $2 > 0 ? $4 / $2 : 1; b[n] = $1 + $2 > 0 ? ($3 + $4) / ($1 + $2) : 1 }
    END {
        printf "median ratio candidate / reference: program %.3f, '"$server"' %.3f, both %.3f\n",
            median(p, n), median(s, n), median(b, n)
    }' "$logs/rounds"
