#!/usr/bin/env bash
# Runs a command as a client of its own headless weston (pixman renderer,
# screenshots allowed): with_weston.sh [--seat] [weston options] -- command [args].
# The command sees QT_QPA_PLATFORM=wayland and the compositor's socket; its
# exit status is this script's. The headless back end offers no seat; with
# --seat weston runs on its X11 back end instead (inside xvfb-run), whose
# keyboard and pointer xdotool drives.
set -euo pipefail
backend=headless-backend.so
if [ "${1:-}" = --seat ]; then
    backend=x11-backend.so
    shift
fi
weston_args=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    weston_args+=("$1")
    shift
done
[ $# -gt 0 ] && shift
[ $# -gt 0 ] || { echo "usage: $0 [weston options] -- command [args]" >&2; exit 2; }

runtime="$(mktemp -d)"
chmod 700 "$runtime"
socket="pimuru-$$"
weston_pid=""
cleanup() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null || true
        wait "$weston_pid" 2>/dev/null || true
    fi
    rm -rf "$runtime"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR="$runtime"
# No animations: a screenshot shows windows as they are, not fading in.
cat >"$runtime/weston.ini" <<'INI'
[shell]
animation=none
close-animation=none
startup-animation=none
focus-animation=none
INI
weston --backend="$backend" --use-pixman --config="$runtime/weston.ini" --idle-time=0 --debug \
    --socket="$socket" "${weston_args[@]}" >"$runtime/weston.log" 2>&1 &
weston_pid=$!
# The socket appears once weston listens; its shell client follows.
for _ in $(seq 1 200); do
    [ -S "$runtime/$socket" ] && break
    kill -0 "$weston_pid" 2>/dev/null || { cat "$runtime/weston.log" >&2; exit 1; }
    sleep 0.05
done
[ -S "$runtime/$socket" ] || { echo "weston did not start" >&2; cat "$runtime/weston.log" >&2; exit 1; }

# Qt's Wayland windows load Mesa's EGL, which keeps a small allocation of its
# own (seen on AMD processors) and is unloaded before the leak check; only a
# full unwind at allocation time reaches a frame the suppressions can name.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0"
status=0
WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland "$@" || status=$?
exit "$status"
