#!/usr/bin/env bash
# A small internet in network namespaces: a public meeting server (the
# project's mosquitto and coturn, started by scripts/serve, with its
# connection limit loaded) and two homes, each behind its own kind of
# router. Needs root, ip and nft.
#
#   nat_lab.sh KIND COMMAND [ARG…]   builds the lab, runs COMMAND (on the host,
#                                    with the LAB_* variables below exported),
#                                    tears everything down and exits with
#                                    COMMAND's status
#   source nat_lab.sh; lab_up KIND; …; lab_down   the same from a script
#                                    (lab_down belongs in the caller's trap)
#
# Kinds:
#   cone        both homes behind the ordinary router: masquerade that keeps
#               the port, replies only from where a packet went
#   symmetric   home A's router picks a new random port for every
#               destination (masquerade random), home B's is ordinary; as
#               both let in only replies to the exact address and port a
#               packet went to, no direct path can be punched: the relay
#               joins them, as it would on the internet
#   symmetric2  both routers like A's above (only the relay joins them)
#   cgnat       both routers' outsides are in 100.64.0.0/10, each behind a
#               carrier's NAT in front of the internet
#   ipv6        IPv6 only: global addresses in the homes, routers that only
#               let in replies
#   direct      no server and no routers: both homes on the internet
#
# Variables after lab_up (run a command in a namespace with
# `ip netns exec "$LAB_HOME_A" …`):
#   LAB_HOME_A, LAB_HOME_B   the homes' namespaces
#   LAB_PUBLIC               the server's namespace (empty for direct)
#   LAB_SERVER, LAB_SERVER2  two addresses of the server (empty for direct)
#   LAB_OUTSIDE_A/_B         the address the internet sees for each home
#   LAB_ADDRESS_A/_B         each home's own address
#   LAB_DIR                  a folder for the lab's logs (serve.log)
#
# The internet here uses 11.38.0.0/24 and 2a0f:38::/32: ordinary public
# addresses, because the relay refuses to relay to private, shared, loopback,
# documentation and benchmarking ranges, as it must on the real internet.
# The namespaces have no way out, so nothing reaches the owners of those
# addresses.

lab_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# Namespaces of this lab (their names are unique, so labs run side by side).
lab_namespaces=()
lab_serve_pid=

lab_ns() { # NAME: creates a namespace with loopback up, prints its name
    local ns="$lab_prefix-$1"
    ip netns add "$ns" || return 1
    lab_namespaces+=("$ns")
    ip -n "$ns" link set lo up
    ip netns exec "$ns" sysctl -qw net.ipv6.conf.all.accept_dad=0 net.ipv6.conf.default.accept_dad=0
}

# lab_link NS1 IF1 NS2 IF2: a cable between two namespaces.
lab_link() {
    ip link add "$2" netns "$lab_prefix-$1" type veth peer name "$4" netns "$lab_prefix-$3"
    ip -n "$lab_prefix-$1" link set "$2" up
    ip -n "$lab_prefix-$3" link set "$4" up
}

# lab_wan NS IF ADDRESS…: plugs NS into the internet's switch.
lab_wan_ports=0
lab_wan() {
    local ns=$1 dev=$2
    shift 2
    lab_wan_ports=$((lab_wan_ports + 1))
    lab_link "$ns" "$dev" wan "port$lab_wan_ports"
    ip -n "$lab_prefix-wan" link set "port$lab_wan_ports" master switch
    local address
    for address in "$@"; do
        if [[ "$address" == *:* ]]; then
            ip -n "$lab_prefix-$ns" addr add "$address" dev "$dev" nodad
        else
            ip -n "$lab_prefix-$ns" addr add "$address" dev "$dev"
        fi
    done
}

# lab_router NS [random]: forwards from "lan" to "wan", lets in only replies,
# and (unless the lab is IPv6) hides the inside behind its outside address.
# Like a home router's firewall it drops what comes unasked to its own
# outside address: a datagram it took in would leave a connection entry
# behind that makes the masquerade pick another port for the inside's own
# datagram to that sender, so a partner's early check would spoil the very
# hole it is meant to punch.
lab_router() {
    local ns=$1 mode=${2:-}
    ip netns exec "$lab_prefix-$ns" sysctl -qw net.ipv4.ip_forward=1 net.ipv6.conf.all.forwarding=1
    {
        echo 'table inet filter {'
        echo '  chain input { type filter hook input priority filter; policy accept;'
        echo '    iifname "wan" meta l4proto { tcp, udp } ct state new drop'
        echo '  }'
        echo '  chain forward { type filter hook forward priority filter; policy drop;'
        echo '    ct state established,related accept'
        echo '    iifname "lan" accept'
        echo '  }'
        echo '}'
        if [ "$lab_kind" != ipv6 ]; then
            echo 'table ip nat {'
            echo '  chain postrouting { type nat hook postrouting priority srcnat; policy accept;'
            echo "    oifname \"wan\" masquerade $mode"
            echo '  }'
            echo '}'
        fi
    } | ip netns exec "$lab_prefix-$ns" nft -f -
}

# lab_home SIDE SUBNET-PREFIX: a home and its router's inside.
lab_home() {
    local side=$1
    lab_ns "h$side"
    lab_link "h$side" lan "r$side" lan
    if [ "$lab_kind" = ipv6 ]; then
        ip -n "$lab_prefix-h$side" addr add "2a0f:38:$side::2/64" dev lan nodad
        ip -n "$lab_prefix-r$side" addr add "2a0f:38:$side::1/64" dev lan nodad
        ip -n "$lab_prefix-h$side" route add default via "2a0f:38:$side::1"
    else
        ip -n "$lab_prefix-h$side" addr add 192.168.1.2/24 dev lan
        ip -n "$lab_prefix-r$side" addr add 192.168.1.1/24 dev lan
        ip -n "$lab_prefix-h$side" route add default via 192.168.1.1
    fi
}

lab_up() {
    lab_kind=$1
    case "$lab_kind" in cone | symmetric | symmetric2 | cgnat | ipv6 | direct) ;;
    *) echo "nat_lab: unknown kind '$lab_kind'" >&2; return 2 ;;
    esac
    lab_prefix="natlab-$$-$RANDOM"
    LAB_DIR=$(mktemp -d)
    lab_ns wan
    ip -n "$lab_prefix-wan" link add name switch type bridge
    ip -n "$lab_prefix-wan" link set switch up

    LAB_PUBLIC= LAB_SERVER= LAB_SERVER2=
    if [ "$lab_kind" = direct ]; then
        for side in a b; do lab_ns "h$side"; done
        lab_wan ha wan 11.38.0.21/24 2a0f:38::21/64
        lab_wan hb wan 11.38.0.22/24 2a0f:38::22/64
        LAB_ADDRESS_A=11.38.0.21 LAB_ADDRESS_B=11.38.0.22
        LAB_OUTSIDE_A=$LAB_ADDRESS_A LAB_OUTSIDE_B=$LAB_ADDRESS_B
    else
        lab_ns pub
        lab_wan pub wan 11.38.0.1/24 11.38.0.2/24 2a0f:38::1/64 2a0f:38::2/64
        for side in a b; do lab_ns "r$side"; lab_home "$side"; done
        local number
        case "$lab_kind" in
        cone) lab_router ra; lab_router rb ;;
        symmetric) lab_router ra random; lab_router rb ;;
        symmetric2) lab_router ra random; lab_router rb random ;;
        ipv6) lab_router ra; lab_router rb ;;
        cgnat)
            # Home routers outside in the shared range, each carrier NAT on
            # the internet.
            for side in a b; do
                number=$([ "$side" = a ] && echo 1 || echo 2)
                lab_ns "c$side"
                lab_link "r$side" wan "c$side" lan
                ip -n "$lab_prefix-r$side" addr add "100.64.$number.2/24" dev wan
                ip -n "$lab_prefix-c$side" addr add "100.64.$number.1/24" dev lan
                ip -n "$lab_prefix-r$side" route add default via "100.64.$number.1"
                ip -n "$lab_prefix-c$side" route add 192.168.1.0/24 via "100.64.$number.2"
                lab_router "r$side"
                lab_router "c$side"
            done
            ;;
        esac
        # The boxes on the internet: the routers, or in front of them the
        # carriers' NATs.
        local edge_a=ra edge_b=rb
        [ "$lab_kind" = cgnat ] && edge_a=ca edge_b=cb
        lab_wan "$edge_a" wan 11.38.0.11/24 2a0f:38::11/64
        lab_wan "$edge_b" wan 11.38.0.12/24 2a0f:38::12/64
        LAB_SERVER=11.38.0.1 LAB_SERVER2=11.38.0.2
        LAB_OUTSIDE_A=11.38.0.11 LAB_OUTSIDE_B=11.38.0.12
        LAB_ADDRESS_A=192.168.1.2 LAB_ADDRESS_B=192.168.1.2
        if [ "$lab_kind" = ipv6 ]; then
            # The homes' prefixes are routed to their routers.
            for ns in pub ra rb; do
                [ "$ns" != ra ] && ip -n "$lab_prefix-$ns" route add 2a0f:38:a::/64 via 2a0f:38::11
                [ "$ns" != rb ] && ip -n "$lab_prefix-$ns" route add 2a0f:38:b::/64 via 2a0f:38::12
            done
            LAB_SERVER=2a0f:38::1 LAB_SERVER2=2a0f:38::2
            LAB_ADDRESS_A=2a0f:38:a::2 LAB_ADDRESS_B=2a0f:38:b::2
            LAB_OUTSIDE_A=$LAB_ADDRESS_A LAB_OUTSIDE_B=$LAB_ADDRESS_B
        fi
        LAB_PUBLIC=$lab_prefix-pub
        ip netns exec "$LAB_PUBLIC" nft -f "$lab_root/server/connection-limit.nft" || return 1
        lab_serve || return 1
    fi
    LAB_HOME_A=$lab_prefix-ha LAB_HOME_B=$lab_prefix-hb LAB_KIND=$lab_kind
    export LAB_KIND LAB_HOME_A LAB_HOME_B LAB_PUBLIC LAB_SERVER LAB_SERVER2 LAB_OUTSIDE_A LAB_OUTSIDE_B \
        LAB_ADDRESS_A LAB_ADDRESS_B LAB_DIR
}

# The meeting server as players would run it, inside the public namespace.
lab_serve() {
    ip netns exec "$LAB_PUBLIC" "$lab_root/scripts/serve" --no-install >"$LAB_DIR/serve.log" 2>&1 &
    lab_serve_pid=$!
    for _ in $(seq 1 600); do
        grep -q "^serve: ready" "$LAB_DIR/serve.log" && return 0
        kill -0 "$lab_serve_pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "nat_lab: the server did not start:" >&2
    tail -n 20 "$LAB_DIR/serve.log" >&2
    return 1
}

# Stops everything the lab started and removes its namespaces; safe to call
# twice and after a half-built lab.
lab_down() {
    if [ -n "$lab_serve_pid" ]; then
        kill -TERM "$lab_serve_pid" 2>/dev/null && wait "$lab_serve_pid" 2>/dev/null
        lab_serve_pid=
    fi
    local ns pids
    for ns in "${lab_namespaces[@]}"; do
        pids=$(ip netns pids "$ns" 2>/dev/null)
        [ -n "$pids" ] && kill -KILL $pids 2>/dev/null
        ip netns del "$ns" 2>/dev/null
    done
    lab_namespaces=()
    [ -n "${LAB_DIR:-}" ] && rm -rf "$LAB_DIR"
    LAB_DIR=
    return 0
}

# The lab can be built here: root, ip, nft and network namespaces. Prints
# why not and fails otherwise.
lab_possible() {
    [ "$(id -u)" = 0 ] || { echo "the NAT lab needs root"; return 1; }
    command -v ip >/dev/null && command -v nft >/dev/null || { echo "the NAT lab needs ip and nft"; return 1; }
    local probe="natlab-probe-$$-$RANDOM"
    ip netns add "$probe" 2>/dev/null || { echo "network namespaces are not available here"; return 1; }
    ip netns del "$probe"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -uo pipefail
    [ $# -ge 2 ] || { sed -n '7,/^#   LAB_DIR/p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
    trap lab_down EXIT
    trap 'exit 130' INT TERM
    lab_up "$1" || exit 1
    shift
    "$@"
fi
