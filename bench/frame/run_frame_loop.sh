#!/usr/bin/env bash
# Runs the frame loop alone (bench/frame/frame_loop of the same build as the
# program) and prints its processor time beside the program's: the least a
# frame costs on this machine. Prints nothing where the build has no
# frame_loop, or when PIMURU_FRAME_LOOP=0. Called by the measure_*.sh scripts
# once the program has gone, on the same display.
#   run_frame_loop.sh <pimuru> <seconds> <the program's % of one core>
set -euo pipefail
loop="$(dirname "$(realpath "$1")")/../../bench/frame/frame_loop"
[ -x "$loop" ] && [ "${PIMURU_FRAME_LOOP:-1}" != 0 ] || exit 0
floor=$("$loop" "$2" 2>/dev/null | head -1) || exit 0 # no window to open: nothing to print
echo "$floor"
awk -v game="$3" -v line="$floor" 'BEGIN {
    split(line, part, ": "); loop = part[2] + 0
    if (loop > 0) printf "the program while playing: %.1f times the frame loop alone\n", game / loop }'
