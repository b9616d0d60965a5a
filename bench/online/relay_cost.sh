#!/usr/bin/env bash
# What the relay costs: many online games at once through coturn in the NAT
# lab (tests/support/nat_lab.sh, the server as scripts/serve runs it), each
# game one datagram a frame each way, the game's own packets sealed as in a
# run. Counted on the server's side: bytes a second per game on each leg
# (nft counters on the public namespace's interface, UDP and IP headers
# included) and coturn's processor time (utime+stime of its process) over a
# fixed time; from them, how many games one small server holds. Needs root.
#   relay_cost.sh [--build DIR] [--pairs N] [--seconds S] [--repeat R]
#                 [--both-relayed] [--cores C] [--mbit M]
# --both-relayed: both homes of every game relay (two allocations a game,
# each datagram crosses the server twice) instead of the host's home only.
# --cores, --mbit: the small server the figure is for (1 core, 100 Mbit/s).
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build=$root/build-bench pairs=100 seconds=30 repeat=2 both=0 cores=1 mbit=100
usage() { sed -n '9,13p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
number() { [[ "$2" =~ ^[0-9]+$ ]] && [ "$2" -ge 1 ] || { echo "relay_cost: $1 wants a whole number above 0" >&2; exit 2; }; }
while [ $# -gt 0 ]; do
    case "$1" in
    --build) [ $# -ge 2 ] || usage; build=$2; shift ;;
    --pairs) [ $# -ge 2 ] || usage; number "$1" "$2"; pairs=$2; shift ;;
    --seconds) [ $# -ge 2 ] || usage; number "$1" "$2"; seconds=$2; shift ;;
    --repeat) [ $# -ge 2 ] || usage; number "$1" "$2"; repeat=$2; shift ;;
    --cores) [ $# -ge 2 ] || usage; number "$1" "$2"; cores=$2; shift ;;
    --mbit) [ $# -ge 2 ] || usage; number "$1" "$2"; mbit=$2; shift ;;
    --both-relayed) both=1 ;;
    *) usage ;;
    esac
    shift
done
load=$build/bench/online/relay_load
[ -x "$load" ] || { echo "relay_cost: no $load (cmake --build $build --target relay_load)" >&2; exit 1; }
[ "$pairs" -le 1000 ] || { echo "relay_cost: at most 1000 pairs" >&2; exit 2; }
source "$root/tests/support/nat_lab.sh"
why=$(lab_possible) || { echo "relay_cost: $why" >&2; exit 1; }

host_pid= guest_pid=
finish() {
    for pid in $host_pid $guest_pid; do kill -TERM "$pid" 2>/dev/null; done
    for pid in $host_pid $guest_pid; do wait "$pid" 2>/dev/null; done
    host_pid= guest_pid=
    lab_down
}
trap finish EXIT
trap 'exit 130' INT TERM

conf=$root/server/turnserver.conf
setting() { sed -n "s/^$1=//p" "$conf" | tail -n 1; }
ticks=$(getconf CLK_TCK)
source "$root/bench/support/processor.sh"
processor_line
echo "$pairs games at once for $seconds s a run, $([ "$both" = 1 ] && echo "both homes relayed" || echo "the host's home relayed, the guest's not")"

# Bytes and packets on the server's interface to the internet, by leg:
# players' clients talk to port 3478 (TURN ChannelData), the relay's ports
# talk to the peers.
counters() {
    ip netns exec "$LAB_PUBLIC" nft -f - <<'NFT'
table inet relay_cost {
    counter client_to_server {}
    counter server_to_client {}
    counter peer_to_server {}
    counter server_to_peer {}
    chain input { type filter hook input priority -10; policy accept;
        iifname "wan" udp dport 3478 counter name "client_to_server"
        iifname "wan" udp dport 49152-65535 counter name "peer_to_server"
    }
    chain output { type filter hook output priority -10; policy accept;
        oifname "wan" udp sport 3478 counter name "server_to_client"
        oifname "wan" udp sport 49152-65535 counter name "server_to_peer"
    }
}
NFT
}
# "NAME PACKETS BYTES" for each counter.
read_counters() {
    ip netns exec "$LAB_PUBLIC" nft list counters table inet relay_cost |
        awk '/counter /{ name = $2 } /packets/{ print name, $2, $4 }'
}
coturn_pid() {
    local pid
    for pid in $(ip netns pids "$LAB_PUBLIC"); do
        [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = turnserver ] && { echo "$pid"; return; }
    done
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# The whole machine's busy and total time (/proc/stat's first line).
machine_ticks() { awk '/^cpu /{ busy = $2 + $3 + $4 + $7 + $8; total = busy + $5 + $6; print busy, total }' /proc/stat; }

results=()
for run in $(seq 1 "$repeat"); do
    lab_up cone || exit 1
    counters || exit 1
    turn=$(coturn_pid)
    [ -n "$turn" ] || { echo "relay_cost: coturn is not running in the lab" >&2; exit 1; }
    exchange=$LAB_DIR/exchange
    mkdir -p "$exchange"
    relay_host=force relay_guest=forbid
    [ "$both" = 1 ] && relay_guest=force
    limit=$((seconds + 60))
    ip netns exec "$LAB_HOME_A" timeout $((limit + 150)) "$load" --side host --pairs "$pairs" \
        --server "$LAB_SERVER" --exchange "$exchange" --relay "$relay_host" --max-seconds "$limit" \
        >"$LAB_DIR/host.log" 2>&1 &
    host_pid=$!
    ip netns exec "$LAB_HOME_B" timeout $((limit + 150)) "$load" --side guest --pairs "$pairs" \
        --server "$LAB_SERVER" --exchange "$exchange" --relay "$relay_guest" --max-seconds "$limit" \
        >"$LAB_DIR/guest.log" 2>&1 &
    guest_pid=$!
    ready=0
    for _ in $(seq 1 1500); do
        [ -f "$exchange/host.ready" ] && [ -f "$exchange/guest.ready" ] && { ready=1; break; }
        kill -0 "$host_pid" 2>/dev/null && kill -0 "$guest_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ "$ready" = 0 ]; then
        echo "relay_cost: the games did not connect" >&2
        cat "$LAB_DIR/host.log" "$LAB_DIR/guest.log" >&2
        tail -n 20 "$LAB_DIR/serve.log" >&2
        exit 1
    fi
    # Past the first frames, then the measured time.
    sleep 3
    before=$(read_counters) turn_before=$(cpu_ticks "$turn") machine_before=$(machine_ticks)
    start=$(date +%s.%N)
    sleep "$seconds"
    after=$(read_counters) turn_after=$(cpu_ticks "$turn") machine_after=$(machine_ticks)
    end=$(date +%s.%N)
    touch "$exchange/stop"
    wait "$host_pid"; host_status=$?
    wait "$guest_pid"; guest_status=$?
    host_pid= guest_pid=
    sed 's/^/  /' "$LAB_DIR/host.log" "$LAB_DIR/guest.log"
    [ "$host_status" = 0 ] && [ "$guest_status" = 0 ] || { echo "relay_cost: a side failed" >&2; exit 1; }
    report=$(awk -v pairs="$pairs" -v start="$start" -v end="$end" -v ticks="$ticks" \
        -v turn="$turn_before $turn_after" -v machine="$machine_before $machine_after" \
        -v run="$run" -v before="$before" -v after="$after" '
        BEGIN {
            t = end - start
            n = split(before, b, /[ \n]/); split(after, a, /[ \n]/)
            for (i = 1; i <= n; i += 3) { packets[b[i]] = a[i + 1] - b[i + 1]; bytes[b[i]] = a[i + 2] - b[i + 2] }
            split(turn, c, " "); cpu = 100 * (c[2] - c[1]) / ticks / t
            split(machine, m, " "); busy = 100 * (m[3] - m[1]) / (m[4] - m[2])
            printf "run %d: %.1f s, coturn %.1f %% of one core, the machine %.0f %% busy meanwhile\n", run, t, cpu, busy
            split("client_to_server server_to_client peer_to_server server_to_peer", legs, " ")
            for (i = 1; i <= 4; i++) {
                l = legs[i]
                printf "  %-17s %8.0f B/s a game  %5.1f datagrams/s a game  %6.1f bytes each  (all games %.2f Mbit/s)\n", \
                    l, bytes[l] / t / pairs, packets[l] / t / pairs, (packets[l] ? bytes[l] / packets[l] : 0), 8 * bytes[l] / t / 1e6
            }
            into = (bytes["client_to_server"] + bytes["peer_to_server"]) / t / pairs
            out = (bytes["server_to_client"] + bytes["server_to_peer"]) / t / pairs
            printf "  a game: %.0f B/s into the server, %.0f B/s out of it\n", into, out
            # Kept for the summary: cpu %, bytes in and out a game a second.
            printf "RESULT %f %f %f\n", cpu, into, out
        }')
    grep -v '^RESULT ' <<<"$report"
    results+=("$(sed -n 's/^RESULT //p' <<<"$report")")
    lab_down
done

# The figure: the mean over the runs.
printf '%s\n' "${results[@]}" | awk -v pairs="$pairs" -v cores="$cores" -v mbit="$mbit" \
    -v quota="$(setting total-quota)" -v user_quota="$(setting user-quota)" \
    -v max_bps="$(setting max-bps)" -v capacity="$(setting bps-capacity)" '
    { cpu += $1; into += $2; out += $3; n++ }
    END {
        cpu /= n; into /= n; out /= n
        printf "mean of %d runs: coturn %.1f %% of one core for %d games (%.3f %% a game); a game %.0f B/s in, %.0f B/s out\n", \
            n, cpu, pairs, cpu / pairs, into, out
        by_cpu = cores * 100 / (cpu / pairs)
        busiest = (into > out) ? into : out
        by_link = mbit * 1e6 / 8 / busiest
        held = (by_cpu < by_link) ? by_cpu : by_link
        printf "one small server (%d core(s), %d Mbit/s each way), games relayed like these:\n", cores, mbit
        printf "  processor bound: %.0f games (all of the core(s) for coturn)\n", by_cpu
        printf "  bandwidth bound: %.0f games\n", by_link
        printf "  holds about %.0f games at once; an hour of a game is %.1f MB each way\n", held, busiest * 3600 / 1e6
        # Every allocation is one TURN session; coturn gives each max-bps
        # out of bps-capacity, so the capacity is a limit on sessions too.
        q = (quota < user_quota) ? quota : user_quota
        s = capacity / max_bps
        sessions = (q < s) ? q : s
        printf "server/turnserver.conf: total-quota %s, user-quota %s, bps-capacity %s / max-bps %s: %d allocations at once;\n", \
            quota, user_quota, capacity, max_bps, sessions
        printf "  the game gathers a relay on both sides and holds both for the run: %d games at once by the shipped quotas;\n", sessions / 2
        printf "  each allocation takes in about %.0f B/s (from its player and from the partner), of max-bps %s\n", into, max_bps
    }'
