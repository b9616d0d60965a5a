#!/usr/bin/env bash
# How long two players take to meet by room code in the NAT lab
# (tests/support/nat_lab.sh): the host opens a room in home A, and the guest
# in home B is started with its code. Two times for each meeting, both from
# the moment the guest program is started (so they include its own start,
# which a player who types the code into a running game does not wait for):
#   connected   until the guest prints "connected: direct|relay" (ICE has
#               chosen its pair and the handshake is done)
#   first frame until the guest says its online run starts, which it does
#               just before the first frame both games share
# Times are those at which the lines reach this script (read as they are
# written). Median and worst per NAT kind, and how many met directly or
# through the relay. Needs root.
#   meeting_time.sh [--build DIR] [--meetings N] [KIND…]
# KIND: cone symmetric symmetric2 cgnat ipv6 (all of them by default);
# N meetings per kind, 20 by default.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build=$root/build-bench meetings=20 kinds=()
usage() { sed -n '14,16p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
while [ $# -gt 0 ]; do
    case "$1" in
    --build) [ $# -ge 2 ] || usage; build=$2; shift ;;
    --meetings)
        [ $# -ge 2 ] && [[ "$2" =~ ^[0-9]+$ ]] && [ "$2" -ge 1 ] || usage
        meetings=$2
        shift
        ;;
    cone | symmetric | symmetric2 | cgnat | ipv6) kinds+=("$1") ;;
    *) usage ;;
    esac
    shift
done
[ ${#kinds[@]} -gt 0 ] || kinds=(cone symmetric symmetric2 cgnat ipv6)
pimuru=$build/src/app/pimuru data=$root/data scenario=meeting_time
[ -x "$pimuru" ] || { echo "meeting_time: no $pimuru (cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIMURU_TESTS=OFF; cmake --build $build --target pimuru)" >&2; exit 1; }
source "$root/tests/support/nat_lab.sh"
why=$(lab_possible) || { echo "meeting_time: $why" >&2; exit 1; }
source "$root/tests/support/game_pair.sh"
export QT_QPA_PLATFORM=offscreen
trap 'pair_cleanup; lab_down' EXIT
trap 'exit 130' INT TERM

source "$root/bench/support/processor.sh"
processor_line
echo "$meetings meetings per kind; program $pimuru"

# The time (from the guest's start, in ms) of the guest's first line
# matching PATTERN, or nothing.
since_start() { # PATTERN
    awk -v t0="$t0" -v pattern="$1" '$0 ~ pattern { printf "%d\n", ($1 - t0) * 1000; exit }' "$work/guest.log"
}
# median and worst of the numbers in a file
summary() {
    sort -n "$1" | awk '{ v[NR] = $1 } END {
        if (NR == 0) { print "none"; exit }
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "median %d ms, worst %d ms\n", m, v[NR] }'
}
end_games() {
    local pid
    for pid in "${host_pid:-}" "${guest_pid:-}"; do [ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null; done
    for pid in "${host_pid:-}" "${guest_pid:-}"; do [ -n "$pid" ] && wait "$pid" 2>/dev/null; done
    host_pid= guest_pid=
    rm -rf "$work/host" "$work/guest"
}

for kind in "${kinds[@]}"; do
    lab_up "$kind" || { echo "meeting_time: the $kind lab was not built" >&2; exit 1; }
    : >"$work/connected.txt"
    : >"$work/frame.txt"
    direct=0 relay=0 unsaid=0 failed=0
    for meeting in $(seq 1 "$meetings"); do
        start host ip netns exec "$LAB_HOME_A" -- -- --server "$LAB_SERVER" --host
        if ! wait_line host '^code: ' 60; then
            echo "$kind $meeting: the host printed no code" >&2
            failed=$((failed + 1)); end_games; continue
        fi
        code=$(sed -n 's/^code: //p' "$work/host.log" | head -n 1)
        t0=$EPOCHREALTIME
        stamped=1 start guest ip netns exec "$LAB_HOME_B" -- -- --server "$LAB_SERVER" --join "$code"
        if ! wait_line guest "online run starts" 60; then
            echo "$kind $meeting: no shared run ($(grep -m1 'pimuru: ' "$work/guest.log" | cut -d ' ' -f 2-))" >&2
            failed=$((failed + 1)); end_games; continue
        fi
        connected=$(since_start '^[0-9.]+ connected: ')
        frame=$(since_start 'online run starts')
        [ -n "$connected" ] && echo "$connected" >>"$work/connected.txt"
        echo "$frame" >>"$work/frame.txt"
        way=$(sed -n 's/^[0-9.]* connected: //p' "$work/guest.log" | head -n 1)
        case "$way" in direct) direct=$((direct + 1)) ;; relay) relay=$((relay + 1)) ;; *) unsaid=$((unsaid + 1)) ;; esac
        end_games
    done
    lab_down
    echo "$kind: $direct direct, $relay through the relay, $unsaid played without saying how, $failed failed;" \
        "connected $(summary "$work/connected.txt"); first frame $(summary "$work/frame.txt")"
done
