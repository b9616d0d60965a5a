#!/usr/bin/env bash
# Two game processes playing one online run on this machine.
#   two_games.sh PIMURU PIMURU-WITH-TEST-SWITCHES RELAY REPLAY-INPUTS MAP-PORT DATA-DIR SCENARIO
# Scenarios:
#   keys      host and join on loopback under $DISPLAY (16-bit, with a window
#             manager): keys sent to each window move that side's pimuru on
#             both, Esc in one ends both, both replays are the same and clean
#             (screenshots go to $PIMURU_SHOTS when set)
#   relay     through a seeded relay: 60 ms each way ±10 ms, 5 % loss
#   killed    the guest killed mid-run: the host ends after 10 s, replay kept
#   desync    the guest's world forced apart: both stop and keep their replays,
#             the guest's replay check shows where the worlds parted
#   garbage   datagrams from a third socket: dropped, the run unharmed
#   version   a guest running another version: told on both sides
#   netns4 / netns6   host and guest in two network namespaces joined by a
#             veth pair the test makes, over IPv4 / IPv6 (needs root)
#   upnp      the host behind a router namespace running miniupnpd (UPnP IGD,
#             nftables): the game asks it to forward the port, the guest
#             outside joins through it, the mapping goes with the run
#   upnp_lease  the game's port mapping with a 4 s lease: renewed while held,
#             removed after
#   upnp_shared  behind a router whose outside is a carrier's shared address:
#             the player is told that partners outside cannot join this way
#   code      host and guest meet by a room code through a meeting server of
#             the test's own on loopback ($PIMURU_MEETING_SERVERS starts it):
#             the host prints "code: K7Q-4MX", both print "connected: direct"
#   code_relay  the same in a network namespace of the test's own (needs
#             root), with the server on its default ports and every datagram
#             dropped that does not go to or from the relay: both print
#             "connected: relay"
# Every scenario but keys runs on Qt's offscreen platform.
set -euo pipefail
arguments=("$@")
pimuru=$1 pimuru_testing=$2 relay=$3 replay_inputs=$4 map_port=$5 data=$6 scenario=$7
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../support/game_pair.sh"
namespaces=()
cleanup() {
    # The meeting servers' helper stops its servers on SIGTERM (mosquitto,
    # having dropped root, would outlive a helper killed outright).
    [ -n "${servers_pid:-}" ] && { kill -TERM "$servers_pid" 2>/dev/null; wait "$servers_pid" 2>/dev/null; } || true
    [ -n "${router_pid:-}" ] && kill "$router_pid" 2>/dev/null || true
    for ns in "${namespaces[@]}"; do ip netns del "$ns" 2>/dev/null || true; done
    pair_cleanup
}
trap cleanup EXIT
port=$((20000 + RANDOM % 20000))
# Two windows side by side under X; full screen on the offscreen platform.
if [ "$scenario" = keys ]; then export QT_QPA_PLATFORM=xcb; windowed=(--windowed); else export QT_QPA_PLATFORM=offscreen; fi

# start_router OUTSIDE-/24: the host's namespace $l behind a router namespace
# $r running miniupnpd (UPnP IGD, nftables), $w outside at OUTSIDE.2.
start_router() {
    local outside=$1
    [ "$(id -u)" = 0 ] && command -v miniupnpd >/dev/null && command -v nft >/dev/null ||
        { echo "upnp needs root, miniupnpd and nft: skipped"; exit 77; }
    r=h30-$$-r l=h30-$$-l w=h30-$$-w
    for ns in "$r" "$l" "$w"; do ip netns add "$ns" && namespaces+=("$ns"); ip -n "$ns" link set lo up; done
    ip link add "h30l$$" netns "$l" type veth peer name "h30rl$$" netns "$r"
    ip link add "h30w$$" netns "$w" type veth peer name "h30rw$$" netns "$r"
    ip -n "$l" addr add 192.168.70.2/24 dev "h30l$$"
    ip -n "$r" addr add 192.168.70.1/24 dev "h30rl$$"
    # The router's outside: nothing leaves these namespaces.
    ip -n "$r" addr add "$outside.1/24" dev "h30rw$$"
    ip -n "$w" addr add "$outside.2/24" dev "h30w$$"
    for link in "$l h30l$$" "$r h30rl$$" "$r h30rw$$" "$w h30w$$"; do set -- $link; ip -n "$1" link set "$2" up; done
    ip -n "$l" route add default via 192.168.70.1
    ip netns exec "$r" sysctl -qw net.ipv4.ip_forward=1
    ip netns exec "$r" nft -f - <<'NFT'
table inet filter {
    chain forward { type filter hook forward priority 0; policy drop; ct state established,related accept; jump miniupnpd; }
    chain miniupnpd { }
    chain prerouting { type nat hook prerouting priority -100; policy accept; jump prerouting_miniupnpd; }
    chain postrouting { type nat hook postrouting priority 100; policy accept; jump postrouting_miniupnpd; }
    chain prerouting_miniupnpd { }
    chain postrouting_miniupnpd { }
}
NFT
    cat >"$work/miniupnpd.conf" <<CONF
ext_ifname=h30rw$$
listening_ip=h30rl$$
port=0
enable_upnp=yes
enable_natpmp=yes
secure_mode=yes
system_uptime=yes
lease_file=$work/upnp.leases
uuid=3e1f0b2a-5c55-4a3e-9d1c-000000000030
allow 1024-65535 192.168.70.0/24 1024-65535
deny 0-65535 0.0.0.0/0 0-65535
CONF
    ip netns exec "$r" miniupnpd -d -f "$work/miniupnpd.conf" -P "$work/miniupnpd.pid" >"$work/router.log" 2>&1 &
    router_pid=$!
    for _ in $(seq 1 100); do grep -q "Listening for NAT-PMP" "$work/router.log" && break; sleep 0.1; done
}
# The rules are read whole first: grep -q leaving early would fail the pipe.
router_has_rule() { ip netns exec "$r" nft list ruleset >"$work/rules.txt" && grep -q "dport $port" "$work/rules.txt"; }

# meet_by_code SERVER WAY: a host opens a room on SERVER, a guest joins it by
# its code; both must say they are connected WAY (direct or relay), and both
# keep the same replay.
meet_by_code() {
    start host -- -- --server "$1" --host
    wait_line host '^code: [2-9A-Z]{3}-[2-9A-Z]{3}$' 60 || fail "the host printed no room code"
    code=$(sed -n 's/^code: //p' "$work/host.log" | head -n 1)
    start guest -- -- --server "$1" --join "$code"
    wait_started host guest
    for name in host guest; do
        grep -qx "connected: $2" "$work/$name.log" || fail "the $name did not say it connected $2"
    done
    sleep 8
    kill -TERM "$guest_pid"
    check_same_replays 50
}

case "$scenario" in
keys)
    start host -- -- --host "$port"
    sleep 2
    start guest -- -- --join "127.0.0.1:$port"
    wait_started host guest
    host_window=$(xdotool search --onlyvisible --pid "$host_pid" | head -n 1)
    guest_window=$(xdotool search --onlyvisible --pid "$guest_pid" | head -n 1)
    [ -n "$host_window" ] && [ -n "$guest_window" ] || fail "no game windows"
    sleep 2
    xdotool windowmove "$host_window" 0 0
    xdotool windowmove "$guest_window" 660 40
    sleep 1
    # Each player steers their own pimuru with their keyboard's cursor keys.
    xdotool windowactivate --sync "$host_window" keydown Left sleep 1.5 keyup Left
    xdotool windowactivate --sync "$guest_window" keydown Right sleep 1.5 keyup Right
    sleep 0.5
    [ -n "${PIMURU_SHOTS:-}" ] && import -window root "$PIMURU_SHOTS/online_both_screens.png"
    xdotool windowactivate --sync "$guest_window" key Escape
    check_same_replays 100
    read -r _ _ _ p1_left _ p1_right _ p2_left _ p2_right <<<"$("$replay_inputs" "$(replay_of host)")"
    [ "$p1_left" -gt 5 ] && [ "$p2_right" -gt 5 ] || fail "keys did not steer: $("$replay_inputs" "$(replay_of host)")"
    [ "$p1_right" -eq 0 ] && [ "$p2_left" -eq 0 ] || fail "a pimuru moved the other way"
    ;;
relay)
    "$relay" $((port + 1)) 127.0.0.1 "$port" 7 60 10 5 &
    pids+=($!)
    start host -- -- --host "$port"
    sleep 1
    start guest -- -- --join "127.0.0.1:$((port + 1))"
    wait_started host guest
    sleep 8
    kill -TERM "$guest_pid"
    check_same_replays 50
    ;;
killed)
    start host -- -- --host "$port"
    sleep 1
    start guest -- -- --join "127.0.0.1:$port"
    wait_started host guest
    sleep 3
    kill -9 "$guest_pid"
    wait_replay host 30
    "$pimuru" --check-replay "$(replay_of host)" >/dev/null || fail "the host's replay does not check clean"
    grep -q . <(ls "$work/guest/pimuru/replays" 2>/dev/null) && fail "a killed guest left a replay"
    echo "killed: the host ended on its own and kept a clean replay"
    ;;
desync)
    start host -- -- --host "$port"
    sleep 1
    program=$pimuru_testing start guest -- PIMURU_TEST_DESYNC_AT=100 -- --join "127.0.0.1:$port"
    wait_started host guest
    wait_replay host 30
    wait_replay guest 20
    "$pimuru" --check-replay "$(replay_of host)" >/dev/null || fail "the host's replay does not check clean"
    if "$pimuru" --check-replay "$(replay_of guest)" >"$work/check.txt" 2>&1; then
        fail "the guest's replay checks clean although its world parted"
    fi
    for side in host guest; do
        grep -q "first checked frame that differed: 111" "$(replay_of $side).desync.txt" ||
            fail "no desync report beside the $side's replay"
    done
    echo "desync: both stopped and kept replays and reports; guest's check: $(cat "$work/check.txt")"
    ;;
garbage)
    start host -- -- --host "$port"
    sleep 1
    start guest -- -- --join "127.0.0.1:$port"
    wait_started host guest
    sleep 1
    python3 - "$port" <<'PY'
import os, socket, sys, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
for i in range(60):
    s.sendto(b"PM\x01\x04" + os.urandom(i % 40), ("127.0.0.1", int(sys.argv[1])))
    time.sleep(0.02)
PY
    sleep 2
    kill -TERM "$host_pid"
    check_same_replays 50
    ;;
version)
    start host -- -- --host "$port"
    sleep 1
    program=$pimuru_testing start guest -- PIMURU_TEST_PROGRAM_VERSION=0.9 -- --join "127.0.0.1:$port"
    for _ in $(seq 1 300); do grep -q "ホストの版は" "$work/guest.log" && break; sleep 0.1; done
    grep -q "ホストの版は 1.1.*こちらの版は 0.9" "$work/guest.log" || fail "the guest was not told the versions"
    grep -q "版 0.9(.*こちらの版は 1.1" "$work/host.log" || fail "the host was not told the versions"
    echo "version: both sides told"
    ;;
netns4 | netns6)
    [ "$(id -u)" = 0 ] && command -v ip >/dev/null || { echo "netns needs root and ip: skipped"; exit 77; }
    a=h30-$$-a b=h30-$$-b
    ip netns add "$a" && namespaces+=("$a")
    ip netns add "$b" && namespaces+=("$b")
    ip link add "h30a$$" netns "$a" type veth peer name "h30b$$" netns "$b"
    for ns in "$a" "$b"; do ip -n "$ns" link set lo up; done
    ip -n "$a" addr add 10.230.0.1/24 dev "h30a$$"
    ip -n "$b" addr add 10.230.0.2/24 dev "h30b$$"
    ip -n "$a" addr add fd30::1/64 dev "h30a$$" nodad
    ip -n "$b" addr add fd30::2/64 dev "h30b$$" nodad
    ip -n "$a" link set "h30a$$" up
    ip -n "$b" link set "h30b$$" up
    target=10.230.0.1
    [ "$scenario" = netns6 ] && target="[fd30::1]"
    start host ip netns exec "$a" -- -- --host "$port"
    sleep 1
    start guest ip netns exec "$b" -- -- --join "$target:$port"
    wait_started host guest
    sleep 4
    kill -TERM "$host_pid"
    check_same_replays 50
    ;;
upnp)
    start_router 11.30.0
    start host ip netns exec "$l" -- -- --host "$port"
    for _ in $(seq 1 300); do grep -q "UPnP" "$work/host.log" && break; sleep 0.1; done
    grep -q "ポート $port をこの機械へ転送しています(外側のアドレス 11.30.0.1)" "$work/host.log" ||
        fail "the router was not asked: $(grep pimuru: "$work/host.log")"
    router_has_rule || fail "the router has no rule for port $port"
    start guest ip netns exec "$w" -- -- --join "11.30.0.1:$port"
    wait_started host guest
    sleep 4
    kill -TERM "$host_pid"
    check_same_replays 50
    for _ in $(seq 1 50); do router_has_rule || break; sleep 0.1; done
    router_has_rule && fail "the mapping outlived the run"
    echo "upnp: mapped through the router, played, mapping removed"
    ;;
upnp_lease)
    start_router 11.30.0
    mkfifo "$work/hold"
    ip netns exec "$l" "$map_port" "$port" 4 <"$work/hold" >"$work/map.log" 2>&1 &
    pids+=($!)
    exec 3>"$work/hold"
    for _ in $(seq 1 100); do grep -q "mapped" "$work/map.log" && break; sleep 0.1; done
    grep -q "^mapped 11.30.0.1$" "$work/map.log" || fail "not mapped: $(cat "$work/map.log")"
    router_has_rule || fail "the router has no rule for port $port"
    # Three leases: a mapping that was not renewed has lapsed by then.
    sleep 12
    router_has_rule || fail "the mapping lapsed while it was held"
    echo >&3
    exec 3>&-
    for _ in $(seq 1 50); do grep -q released "$work/map.log" && break; sleep 0.1; done
    router_has_rule && fail "the mapping outlived its holder"
    echo "upnp_lease: renewed while held, removed after"
    ;;
upnp_shared)
    start_router 100.64.30
    echo | ip netns exec "$l" "$map_port" "$port" >"$work/map.log" 2>&1
    grep -q "外のネットワークからはこの方法では参加できません" "$work/map.log" ||
        fail "the shared outside address was not explained: $(cat "$work/map.log")"
    echo "upnp_shared: $(sed -n 2p "$work/map.log")"
    ;;
code)
    "${PIMURU_MEETING_SERVERS:?the meeting servers helper}" >"$work/servers.txt" 2>"$work/servers.log" &
    servers_pid=$!
    for _ in $(seq 1 150); do
        [ -s "$work/servers.txt" ] && break
        if ! kill -0 "$servers_pid" 2>/dev/null; then
            wait "$servers_pid" && status=0 || status=$?
            [ "$status" = 77 ] && { echo "code: $(cat "$work/servers.log"): skipped"; exit 77; }
            fail "the meeting servers did not start: $(cat "$work/servers.log")"
        fi
        sleep 0.1
    done
    read -r _ mqtt _ _ <"$work/servers.txt" || fail "the meeting servers did not start"
    meet_by_code "127.0.0.1:$mqtt" direct
    ;;
code_relay)
    if [ -z "${PIMURU_IN_LAB:-}" ]; then
        [ "$(id -u)" = 0 ] && command -v unshare >/dev/null && command -v nft >/dev/null &&
            command -v mosquitto >/dev/null && command -v turnserver >/dev/null ||
            { echo "code_relay needs root, unshare, nft, mosquitto and turnserver: skipped"; exit 77; }
        PIMURU_IN_LAB=1 unshare -n bash "$0" "${arguments[@]}"
        exit
    fi
    ip link set lo up
    printf 'listener 1883 127.0.0.1\nallow_anonymous true\npersistence false\nretain_available false\n' >"$work/mqtt.conf"
    mosquitto -c "$work/mqtt.conf" >"$work/mosquitto.log" 2>&1 &
    pids+=($!)
    turnserver -n --listening-ip=127.0.0.1 --relay-ip=127.0.0.1 --listening-port=3478 \
        --min-port=40000 --max-port=40100 --lt-cred-mech --user=pimuru:pimuru-relay --realm=pimuru \
        --allow-loopback-peers --no-cli --no-tls --no-dtls --simple-log --log-file="$work/turn.txt" \
        --pidfile="$work/turn.pid" --userdb="$work/turndb" >"$work/turn.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 1 100); do
        (: >/dev/tcp/127.0.0.1/1883) 2>/dev/null && (: >/dev/tcp/127.0.0.1/3478) 2>/dev/null && break
        sleep 0.1
    done
    # Only what goes to or from the relay passes: no direct pair can work.
    nft -f - <<'NFT'
table inet lab {
    chain out {
        type filter hook output priority 0; policy accept;
        udp sport != { 3478, 40000-40100 } udp dport != { 3478, 40000-40100 } drop
    }
}
NFT
    meet_by_code 127.0.0.1 relay
    ;;
*)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
