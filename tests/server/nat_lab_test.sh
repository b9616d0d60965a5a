#!/usr/bin/env bash
# One kind of the NAT lab, shown working with the servers' own client tools:
#   nat_lab_test.sh KIND
# Each home reaches the meeting server through its routers and the server
# sees the router's (or carrier's) outside address; an ordinary router keeps
# one outside port for every destination and a symmetric one does not; a
# relay allocation works from each home and relays between them; a room
# message goes from one home to the other; one address holds at most 32
# connections to the broker; the relay refuses to relay into private and
# loopback addresses. "direct": the homes reach each other.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
kind=$1
source "$here/../support/nat_lab.sh"

why=$(lab_possible) || { echo "skipped: $why"; exit 77; }
for tool in mosquitto turnserver mosquitto_pub mosquitto_sub turnutils_stunclient turnutils_uclient python3; do
    command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || { echo "skipped: $tool is missing (scripts/install-deps)"; exit 77; }
done
trap lab_down EXIT
trap 'exit 130' INT TERM

fail() {
    echo "FAIL ($kind): $*" >&2
    [ -f "${LAB_DIR:-}/serve.log" ] && { echo "--- serve.log" >&2; grep -v '^turn: .*: $' "$LAB_DIR/serve.log" | tail -n 25 >&2; }
    exit 1
}
lab_up "$kind" || fail "the lab was not built"
in_home() { local ns="LAB_HOME_${1^^}"; shift; ip netns exec "${!ns}" "$@"; }

# The outside address and port the server reports for a home.
stun_seen() { # SIDE
    in_home "$1" timeout 10 turnutils_stunclient "$LAB_SERVER" 2>&1 | sed -n 's/.*UDP reflexive addr: //p' | head -n 1
}
# The outside ports one socket of a home gets towards the server's two
# addresses: the same for an ordinary router, different for a symmetric one.
mapped_ports() { # SIDE
    in_home "$1" python3 - "$LAB_SERVER" "$LAB_SERVER2" <<'PY'
import os, socket, struct, sys
family = socket.AF_INET6 if ":" in sys.argv[1] else socket.AF_INET
s = socket.socket(family, socket.SOCK_DGRAM)
s.settimeout(10)
ports = []
for server in sys.argv[1:]:
    transaction = os.urandom(12)
    s.sendto(struct.pack("!HHI", 1, 0, 0x2112A442) + transaction, (server, 3478))
    reply, _ = s.recvfrom(2048)
    while reply[8:20] != transaction:
        reply, _ = s.recvfrom(2048)
    at = 20
    while at + 4 <= len(reply):
        kind, length = struct.unpack("!HH", reply[at:at + 4])
        if kind == 0x0020:  # XOR-MAPPED-ADDRESS
            ports.append(struct.unpack("!H", reply[at + 6:at + 8])[0] ^ 0x2112)
        at += 4 + ((length + 3) & ~3)
print(*ports)
PY
}
turn_relays() { # SIDE: allocations, and data through them between two clients
    in_home "$1" timeout 20 turnutils_uclient -y -n 3 -z 5 -m 1 -u pimuru -w pimuru-relay "$LAB_SERVER" >"$LAB_DIR/turn.txt" 2>&1
    # The totals: everything sent came back through the relays.
    grep -Eq "tot_send_msgs=([1-9][0-9]*), tot_recv_msgs=\1$" "$LAB_DIR/turn.txt" ||
        { tail -n 5 "$LAB_DIR/turn.txt" >&2; return 1; }
}
room_message() { # FROM TO
    local topic="pimuru/v1/room/$(head -c 16 /dev/urandom | od -An -tx1 | tr -d ' \n')"
    in_home "$2" timeout 20 mosquitto_sub -V 5 -h "$LAB_SERVER" -t "$topic" -C 1 >"$LAB_DIR/room.txt" 2>&1 &
    local sub=$!
    for _ in $(seq 1 50); do
        sleep 0.2
        in_home "$1" mosquitto_pub -V 5 -h "$LAB_SERVER" -t "$topic" -m "from $1" -D publish message-expiry-interval 30 || return 1
        kill -0 "$sub" 2>/dev/null || break
    done
    wait "$sub"
    grep -qx "from $1" "$LAB_DIR/room.txt"
}

if [ "$kind" = direct ]; then
    # A datagram each way, over IPv4 and IPv6.
    udp_reaches() { # FROM TO ADDRESS
        in_home "$2" timeout 5 python3 -c '
import socket
s = socket.socket(socket.AF_INET6, socket.SOCK_DGRAM)
s.bind(("::", 40038))
print(s.recvfrom(100)[0].decode())' >"$LAB_DIR/udp.txt" &
        local listener=$!
        for _ in $(seq 1 20); do
            sleep 0.2
            in_home "$1" bash -c "echo from-$1 >/dev/udp/$3/40038"
            kill -0 "$listener" 2>/dev/null || break
        done
        wait "$listener" && grep -qx "from-$1" "$LAB_DIR/udp.txt"
    }
    udp_reaches a b "$LAB_ADDRESS_B" || fail "home A does not reach home B"
    udp_reaches b a 2a0f:38::21 || fail "home B does not reach home A over IPv6"
    echo "direct: the homes reach each other, no server"
    exit 0
fi

for side in a b; do
    outside="LAB_OUTSIDE_${side^^}"
    seen=$(stun_seen "$side")
    [ "${seen%:*}" = "${!outside}" ] || fail "the server sees home ${side^^} as '$seen', not ${!outside}"
    read -r first second <<<"$(mapped_ports "$side")"
    [ -n "${second:-}" ] || fail "no STUN answers to home ${side^^} from both server addresses"
    symmetric=0
    case "$kind$side" in symmetrica | symmetric2a | symmetric2b) symmetric=1 ;; esac
    if [ "$symmetric" = 1 ]; then
        [ "$first" != "$second" ] || fail "home ${side^^}'s symmetric router kept port $first for both destinations"
    else
        [ "$first" = "$second" ] || fail "home ${side^^}'s router changed the port per destination ($first, $second)"
    fi
    turn_relays "$side" || fail "no relaying from home ${side^^}"
    echo "$kind: home ${side^^} seen as $seen, ports $first/$second, relay works"
done
room_message a b || fail "a room message from home A did not reach home B"
room_message b a || fail "a room message from home B did not reach home A"

# One address holds at most 32 connections to the broker.
opened=$(in_home a python3 - "$LAB_SERVER" <<'PY'
import socket, sys
family = socket.AF_INET6 if ":" in sys.argv[1] else socket.AF_INET
held, opened = [], 0
for _ in range(40):
    s = socket.socket(family, socket.SOCK_STREAM)
    s.settimeout(3)
    try:
        s.connect((sys.argv[1], 1883))
        opened += 1
    except OSError:  # refused by the limit
        pass
    held.append(s)
print(opened)
PY
)
[ "$opened" = 32 ] || fail "home A held $opened connections to the broker, not 32"

# The relay goes only to public addresses.
peers=(192.168.1.2 127.0.0.1)
[ "$kind" = ipv6 ] && peers=(fd00::2 ::1 ::ffff:127.0.0.1)
for peer in "${peers[@]}"; do
    in_home a timeout 10 turnutils_uclient -e "$peer" -n 1 -m 1 -u pimuru -w pimuru-relay "$LAB_SERVER" >"$LAB_DIR/denied.txt" 2>&1
    grep -q "403 (Forbidden IP)" "$LAB_DIR/denied.txt" || fail "the relay did not refuse peer $peer: $(tail -n 3 "$LAB_DIR/denied.txt")"
done
echo "$kind: room messages both ways; 32 broker connections per address; relaying to private and loopback peers refused"
