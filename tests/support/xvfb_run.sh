#!/usr/bin/env bash
# Runs a command on an X server of its own, as `xvfb-run -a` does, but lets
# Xvfb take a free display itself (-displayfd): two tests starting at once
# cannot pick the same display, as they can with xvfb-run's own search.
# Takes xvfb-run's -a and -s "SERVER ARGS" options.
#   xvfb_run.sh [-a] [-s "SERVER ARGS"] COMMAND…
set -euo pipefail
server_args="-screen 0 1280x1024x24"
while [ $# -gt 0 ]; do
    case "$1" in
    -a | --auto-servernum) shift ;;
    -s | --server-args) server_args=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
    esac
done
folder=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }; rm -rf "$folder"' EXIT
# shellcheck disable=SC2086 # the server's arguments are words
Xvfb -displayfd 3 -ac -nolisten tcp $server_args 3>"$folder/display" 2>"$folder/log" &
xvfb=$!
for _ in $(seq 400); do
    [ -s "$folder/display" ] && break
    if ! kill -0 "$xvfb" 2>/dev/null; then
        echo "xvfb_run.sh: Xvfb did not start:" >&2
        cat "$folder/log" >&2
        exit 1
    fi
    sleep 0.05
done
display=$(head -n 1 "$folder/display")
[ -n "$display" ] || { echo "xvfb_run.sh: Xvfb named no display within 20 s" >&2; exit 1; }
unset XAUTHORITY
status=0
DISPLAY=":$display" "$@" || status=$?
exit "$status"
