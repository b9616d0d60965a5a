#!/usr/bin/env bash
# Two real games meeting in the NAT lab (tests/support/nat_lab.sh): the host
# in home A, the guest in home B.
#   lab_games.sh PIMURU REPLAY-INPUTS DATA-DIR CASE
# Cases, one lab each:
#   cone symmetric symmetric2 cgnat ipv6   the host opens a room on the lab's
#             meeting server and prints its code; the guest joins by that
#             code. Each game on an X server of its own, steered with keys
#             for 30 s, ended with Esc: identical, clean replays, and the
#             pair ICE chose is the one the routers allow:
#               cone, cgnat (two port-keeping NATs on each side), ipv6: direct
#               symmetric, symmetric2 (no hole can be punched): relay
#   direct    no server: the guest joins the host's address (both say
#             they are connected directly)
#   unknown_code  a code no host opened: the guest is told
#   taken     a second guest with the same code: told the room has its guest
#   unreachable   the meeting server stopped: the guest is told, the server
#             named, after waiting at most 5 s for it
#   relay_refused  both symmetric and the relay refuses their password:
#             the guest is told that no way worked, the relay's neither
# Needs root and network namespaces (skips otherwise).
set -uo pipefail
pimuru=$1 replay_inputs=$2 data=$3 scenario=$4
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../support/nat_lab.sh"
why=$(lab_possible) || { echo "skipped: $why"; exit 77; }
for tool in mosquitto turnserver Xvfb xdotool; do
    command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || { echo "skipped: $tool is missing (scripts/install-deps)"; exit 77; }
done
source "$here/../support/game_pair.sh"
trap 'pair_cleanup; lab_down' EXIT
trap 'exit 130' INT TERM

kind=$scenario
case "$scenario" in
cone | symmetric | symmetric2 | cgnat | ipv6 | direct) ;;
unknown_code | taken | unreachable) kind=cone ;;
relay_refused) kind=symmetric2 ;;
*) echo "unknown case $scenario" >&2; exit 2 ;;
esac
lab_up "$kind" || fail "the lab was not built"
in_a=(ip netns exec "$LAB_HOME_A")
in_b=(ip netns exec "$LAB_HOME_B")

# host_room [ENV=VALUE…]: the host opens a room in home A; code is its code.
host_room() {
    start host "${in_a[@]}" -- "$@" -- --server "$LAB_SERVER" --host
    wait_line host '^code: [0-9A-Z]{3}-[0-9A-Z]{3}$' 60 || fail "the host printed no room code"
    code=$(sed -n 's/^code: //p' "$work/host.log" | head -n 1)
}
# connected_as NAME WAY: NAME said it is connected that way.
connected_as() {
    wait_line "$1" '^connected: ' 30 || fail "the $1 did not say how it is connected"
    grep -qx "connected: $2" "$work/$1.log" || fail "the $1 is $(grep '^connected: ' "$work/$1.log"), not $2"
}
# told NAME WORDS SECONDS: NAME's output has the player's words.
told() {
    wait_line "$1" "$2" "$3" || fail "the $1 was not told '$2'"
    echo "$scenario: the $1 was told: $(grep -Em1 "$2" "$work/$1.log")"
}

case "$scenario" in
cone | symmetric | symmetric2 | cgnat | ipv6 | direct)
    export QT_QPA_PLATFORM=xcb
    windowed=(--windowed)
    start_display host
    start_display guest
    if [ "$scenario" = direct ]; then
        port=$((20000 + RANDOM % 20000))
        start host "${in_a[@]}" -- DISPLAY="$host_display" -- --host "$port"
        sleep 1
        start guest "${in_b[@]}" -- DISPLAY="$guest_display" -- --join "$LAB_ADDRESS_A:$port"
        way=direct
    else
        host_room DISPLAY="$host_display"
        start guest "${in_b[@]}" -- DISPLAY="$guest_display" -- --server "$LAB_SERVER" --join "$code"
        way=direct
        case "$scenario" in symmetric | symmetric2) way=relay ;; esac
    fi
    wait_started host guest
    connected_as host "$way"
    connected_as guest "$way"
    # Each player steers their own pimuru: the host left first, the guest
    # right first.
    steer host 30 Left Right &
    host_keys=$!
    steer guest 30 Right Left &
    guest_keys=$!
    wait "$host_keys" || fail "keys did not reach the host's window"
    wait "$guest_keys" || fail "keys did not reach the guest's window"
    DISPLAY=$guest_display xdotool key Escape
    check_same_replays 750
    read -r _ _ _ p1_left _ p1_right _ p2_left _ p2_right <<<"$("$replay_inputs" "$(replay_of host)")"
    for count in "$p1_left" "$p1_right" "$p2_left" "$p2_right"; do
        [ "$count" -gt 30 ] || fail "keys did not steer both ways on both sides: $("$replay_inputs" "$(replay_of host)")"
    done
    echo "$scenario: met $([ "$scenario" = direct ] && echo "by address" || echo "by code $code"), connected $way"
    ;;
unknown_code)
    export QT_QPA_PLATFORM=offscreen
    start guest "${in_b[@]}" -- -- --server "$LAB_SERVER" --join K7Q-4MX
    told guest "その部屋が見つかりません" 40
    ;;
taken)
    export QT_QPA_PLATFORM=offscreen
    host_room
    start guest "${in_b[@]}" -- -- --server "$LAB_SERVER" --join "$code"
    wait_started host guest
    start second "${in_b[@]}" -- -- --server "$LAB_SERVER" --join "$code"
    told second "この部屋にはもう相手がいます" 40
    ;;
relay_refused)
    # Both behind symmetric routers, and the relay takes neither's password:
    # no way is left, and the players are told the relay refused too.
    export QT_QPA_PLATFORM=offscreen
    for name in host guest; do
        mkdir -p "$work/$name/pimuru"
        printf '[General]\nrelay_user=pimuru\nrelay_password=not-this-one\n' >"$work/$name/pimuru/pimuru.ini"
    done
    host_room
    start guest "${in_b[@]}" -- -- --server "$LAB_SERVER" --join "$code"
    told guest "中継サーバーも使えませんでした" 90
    ;;
unreachable)
    export QT_QPA_PLATFORM=offscreen
    kill -TERM "$lab_serve_pid" && wait "$lab_serve_pid"
    lab_serve_pid=
    started=$SECONDS
    start guest "${in_b[@]}" -- -- --server "$LAB_SERVER" --join K7Q-4MX
    told guest "ミーティングサーバー \[?$LAB_SERVER\]?(:[0-9]+)? に" 40
    # The wait the player was told of, not this machine's speed, is what is
    # checked: the words say how long the game waited.
    waited=$(grep -Eom1 "に [0-9]+ 秒待っても" "$work/guest.log" | grep -Eo "[0-9]+")
    [ -n "$waited" ] && [ "$waited" -le 5 ] || fail "the guest waited ${waited:-?} s for the meeting server, not at most 5"
    echo "unreachable: told after $((SECONDS - started)) s of which the game waited $waited s"
    ;;
esac
