#!/usr/bin/env bash
# The program where it cannot start. Without a display it names what is
# missing in one line on stderr and ends with status 1. Started where none of
# the folders it searches holds its data, it says so in a message box and
# ends with status 1 once the box is closed. Runs inside xvfb-run; needs
# xdotool.
#   cannot_start.sh <pimuru>
set -euo pipefail
program=$1
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
tmp=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# no_window <pattern the line must match> [VARIABLE=value …]
no_window() {
    local pattern=$1
    shift
    local status=0
    (cd "$tmp" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$program") \
        >"$tmp/out" 2>"$tmp/err" || status=$?
    [ "$status" = 1 ] || fail "status $status, not 1, with $*: $(cat "$tmp/err")"
    [ "$(wc -l <"$tmp/err")" = 1 ] || fail "not one line on stderr with $*: $(cat "$tmp/err")"
    grep -q "$pattern" "$tmp/err" || fail "'$pattern' not in: $(cat "$tmp/err")"
}
no_window 'no X11 display.*no Wayland display'
no_window 'X11 display ":9999" cannot be opened' DISPLAY=:9999
no_window 'Wayland display "pimuru-none" cannot be reached' \
    QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=pimuru-none XDG_RUNTIME_DIR="$tmp"

# From an empty folder, the executable's folder holding no data either.
mkdir "$tmp/empty"
(cd "$tmp/empty" && exec env QT_QPA_PLATFORM=xcb "$program") >"$tmp/program.log" 2>&1 &
pid=$!
box=
for _ in $(seq 100); do
    box=$(xdotool search --onlyvisible --name 'ぴむるのゲーム' 2>/dev/null | head -1) || true
    [ -n "$box" ] && break
    kill -0 $pid 2>/dev/null || fail "the program ended without a message: $(cat "$tmp/program.log")"
    sleep 0.1
done
[ -n "$box" ] || fail "no message box"
xdotool windowfocus "$box" key Return
status=0
for _ in $(seq 100); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done
kill -0 $pid 2>/dev/null && fail "still running once the message box was closed"
wait $pid || status=$?
pid=
[ "$status" = 1 ] || fail "status $status, not 1, after the message box: $(cat "$tmp/program.log")"
echo "PASS"
