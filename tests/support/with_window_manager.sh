#!/usr/bin/env bash
# Runs a command on $DISPLAY (an X server of the test's own) under a window
# manager it starts: with_window_manager.sh openbox|fluxbox|xfwm4 -- command [args].
# The command starts once the manager has announced itself on the root
# window; its exit status is this script's.
set -euo pipefail
manager=$1
shift
[ "${1:-}" = -- ] && shift
[ $# -gt 0 ] || { echo "usage: $0 openbox|fluxbox|xfwm4 -- command [args]" >&2; exit 2; }

log="$(mktemp)"
manager_pid=""
cleanup() {
    if [ -n "$manager_pid" ]; then
        kill "$manager_pid" 2>/dev/null || true
        wait "$manager_pid" 2>/dev/null || true
    fi
    rm -f "$log"
}
trap cleanup EXIT

case "$manager" in
openbox) openbox --sm-disable >"$log" 2>&1 & ;;
# xfwm4 reads its settings over a session bus.
xfwm4) dbus-run-session -- xfwm4 --compositor=off --sm-client-disable >"$log" 2>&1 & ;;
*) "$manager" >"$log" 2>&1 & ;;
esac
manager_pid=$!
for _ in $(seq 1 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    kill -0 "$manager_pid" 2>/dev/null || { echo "$manager did not start" >&2; cat "$log" >&2; exit 1; }
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    { echo "$manager did not announce itself" >&2; cat "$log" >&2; exit 1; }

status=0
"$@" || status=$?
exit "$status"
