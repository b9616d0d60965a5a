#!/usr/bin/env bash
# Two real game processes playing one online run, for the scripts that start
# them (tests/online/two_games.sh, tests/online/lab_games.sh and the meeting
# benchmark). Source it after setting:
#   pimuru     the program          data   the game's data folder
#   scenario   what is being shown (named in failures)
# It makes $work (removed by pair_cleanup, which belongs in the caller's
# trap) and keeps the processes it starts in pids.
work=$(mktemp -d)
pids=()
pair_cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    # Reaped here, so that the shell does not report them killed.
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
fail() {
    echo "FAIL ($scenario): $*" >&2
    local log
    for log in "$work"/*.log; do [ -f "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }; done
    exit 1
}
export ALSOFT_DRIVERS=null ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
# Game windows under X keep their own size; on the offscreen platform the
# game is full screen.
windowed=()

# Each line read, after the wall-clock time it was read at (seconds).
stamp_lines() {
    local line
    while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done
}
# start NAME [PREFIX…] -- [ENV=VALUE…] -- PIMURU-ARGS…: a game with folders and
# settings of its own ($program instead of the installed program when set);
# its standard output and error go to $work/NAME.log (each line after the
# time it came when $stamped is set), its process number to NAME_pid.
start() {
    local name=$1
    shift
    local prefix=()
    while [ "$1" != -- ]; do prefix+=("$1"); shift; done
    shift
    local environment=()
    while [ "$1" != -- ]; do environment+=("$1"); shift; done
    shift
    mkdir -p "$work/$name"
    run() {
        cd "$data" && exec "${prefix[@]}" env XDG_DATA_HOME="$work/$name" XDG_STATE_HOME="$work/$name" \
            XDG_CONFIG_HOME="$work/$name" "${environment[@]}" "${program:-$pimuru}" "${windowed[@]}" "$@"
    }
    if [ -n "${stamped:-}" ]; then
        run "$@" > >(stamp_lines >"$work/$name.log") 2>&1 &
    else
        run "$@" >"$work/$name.log" 2>&1 &
    fi
    pids+=($!)
    eval "${name}_pid=$!"
}
replay_of() { ls "$work/$1"/pimuru/replays/*.pimuru-replay 2>/dev/null | head -n 1; }
wait_replay() { # NAME SECONDS
    for _ in $(seq 1 $(($2 * 10))); do
        [ -n "$(replay_of "$1")" ] && return 0
        sleep 0.1
    done
    fail "no replay from the $1 after $2 s"
}
# wait_line NAME PATTERN SECONDS: until NAME's output has a line matching the
# extended regular expression PATTERN; fails when NAME has ended without it.
wait_line() {
    local name=$1 pattern=$2 pid_name="${1}_pid"
    for _ in $(seq 1 $(($3 * 10))); do
        grep -Eq "$pattern" "$work/$name.log" 2>/dev/null && return 0
        kill -0 "${!pid_name}" 2>/dev/null || break
        sleep 0.1
    done
    grep -Eq "$pattern" "$work/$name.log" 2>/dev/null
}
# Until both games play (a loaded machine may take its time to start them).
wait_started() {
    local name
    for name in "$@"; do
        wait_line "$name" "online run starts" 60 || fail "the $name's run did not start"
    done
}
# check_same_replays [MIN-FRAMES]: both replays written, the same byte for
# byte and clean by --check-replay (so the worlds ended alike).
check_same_replays() {
    wait_replay host 40
    wait_replay guest 40
    local a b
    a=$(replay_of host)
    b=$(replay_of guest)
    "$pimuru" --check-replay "$a" "$b" >"$work/check.txt" 2>&1 || fail "a replay does not check clean: $(cat "$work/check.txt")"
    cmp -s "$a" "$b" || fail "the two replays differ: $(cat "$work/check.txt")"
    frames=$("$replay_inputs" "$a" | awk '{ print $2 }')
    [ "$frames" -ge "${1:-100}" ] || fail "only $frames frames were played"
    echo "$scenario: both replays the same, $frames frames, clean"
}

# start_display NAME: an X server of NAME's own (it takes a free display
# itself); NAME_display is its DISPLAY. Path sockets only, so games in
# network namespaces reach it too.
start_display() {
    Xvfb -displayfd 3 -ac -nolisten tcp -screen 0 800x600x16 3>"$work/$1.display" 2>"$work/$1.xvfb" &
    pids+=($!)
    for _ in $(seq 1 200); do
        [ -s "$work/$1.display" ] && break
        sleep 0.05
    done
    [ -s "$work/$1.display" ] || fail "Xvfb did not start: $(cat "$work/$1.xvfb")"
    eval "${1}_display=:$(cat "$work/$1.display")"
}
# steer NAME SECONDS KEY…: NAME's window (alone on its display) takes the
# focus, then each KEY is held in turn for 1.5 s until SECONDS have passed.
steer() {
    local name=$1 seconds=$2 pid_name="${1}_pid" display_name="${1}_display" window
    shift 2
    export DISPLAY=${!display_name}
    window=$(xdotool search --sync --onlyvisible --pid "${!pid_name}" 2>/dev/null | head -n 1)
    [ -n "$window" ] || { echo "no window from the $name" >&2; return 1; }
    xdotool windowfocus --sync "$window"
    local until=$((SECONDS + seconds)) key
    while [ "$SECONDS" -lt "$until" ]; do
        for key in "$@"; do xdotool keydown "$key" sleep 1.5 keyup "$key"; done
    done
}
