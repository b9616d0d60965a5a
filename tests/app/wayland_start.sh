#!/usr/bin/env bash
# Starts the real program on Wayland (inside with_weston.sh: weston's headless
# back end, which offers no seat) and waits for its launcher on a screenshot:
# the launcher's pink title. Needs weston-screenshooter and ImageMagick.
#   wayland_start.sh <pimuru> <data folder> <folder for screenshots>
set -euo pipefail
program=$1
data=$2
out=$3
mkdir -p "$out"
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
shots=$(mktemp -d)

cd "$data"
"$program" >"$out/program-wayland.log" 2>&1 &
pid=$!
trap 'kill -9 $pid 2>/dev/null || true; rm -rf "$shots"' EXIT
fail() {
    echo "FAIL (wayland): $*" >&2
    cat "$out/program-wayland.log" >&2
    exit 1
}

# How many pixels of a screenshot are close to the launcher's title colour.
title_pixels() {
    convert "$1" -fuzz 8% -fill '#010203' -opaque '#FF0080' -fuzz 0 -fill black +opaque '#010203' \
        -fill white -opaque '#010203' -format '%[fx:round(mean * w * h)]' info:
}

for _ in $(seq 1 60); do
    kill -0 $pid 2>/dev/null || fail "the program ended by itself"
    rm -f "$shots"/*.png
    (cd "$shots" && weston-screenshooter) || fail "weston-screenshooter failed"
    shot=$(ls "$shots"/*.png)
    if [ "$(title_pixels "$shot")" -gt 300 ]; then
        cp "$shot" "$out/launcher-wayland.png"
        sleep 1
        kill -0 $pid 2>/dev/null || fail "the program ended after showing its launcher"
        exit 0
    fi
    sleep 1
done
cp "$shot" "$out/no-launcher-wayland.png"
fail "no launcher on the screen after a minute"
