#!/usr/bin/env bash
# scripts/serve as the README starts it, on loopback: two clients talk in a
# literal room while a client subscribed with wildcards (and to $SYS and
# topics outside the rooms) hears nothing; an oversized message is not
# delivered; STUN answers; SIGTERM stops both servers and leaves nothing.
#   serve_test.sh REPOSITORY
set -uo pipefail
root=$1
for tool in mosquitto turnserver mosquitto_pub mosquitto_sub turnutils_stunclient; do
    command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || { echo "skipped: $tool is missing (scripts/install-deps)"; exit 77; }
done
work=$(mktemp -d)
serve_pid=
cleanup() {
    [ -n "$serve_pid" ] && kill -TERM "$serve_pid" 2>/dev/null && wait "$serve_pid"
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    grep -v '^turn: .*: $' "$work/serve.log" | tail -n 25 >&2
    exit 1
}
listening() { ss -Hln "( sport = :$2 )" "$1" | grep -q .; }
mqtt_port=$((20000 + RANDOM % 20000))
turn_port=$((mqtt_port + 1))
while listening -t "$mqtt_port" || listening -u "$turn_port"; do
    mqtt_port=$((20000 + RANDOM % 20000)) turn_port=$((mqtt_port + 1))
done

"$root/scripts/serve" --loopback --mqtt-port "$mqtt_port" --turn-port "$turn_port" \
    --relay-ports "$((turn_port + 1))-$((turn_port + 100))" >"$work/serve.log" 2>&1 &
serve_pid=$!
for _ in $(seq 1 600); do
    grep -q "^serve: ready" "$work/serve.log" && break
    kill -0 "$serve_pid" 2>/dev/null || fail "scripts/serve ended before it was ready"
    sleep 0.1
done
grep -q "^    --server 127.0.0.1:$mqtt_port$" "$work/serve.log" || fail "scripts/serve did not say what players set"
server_pids=$(ss -Hlntp "( sport = :$mqtt_port or sport = :$turn_port )" | grep -o 'pid=[0-9]*' | sort -u | cut -d= -f2)
[ "$(echo "$server_pids" | wc -w)" = 2 ] || fail "not both servers listen: $server_pids"

mqtt() { local tool=$1; shift; stdbuf -oL "$tool" -V 5 -h 127.0.0.1 -p "$mqtt_port" "$@"; }
room=pimuru/v1/room/$(head -c 16 /dev/urandom | od -An -tx1 | tr -d ' \n')
filters=('#' '+/#' '+/+/+/+' pimuru/# pimuru/v1/room/# pimuru/v1/room/+ 'pimuru/+/room/+' 'pimuru/v1/room/+/#'
    '$SYS/#' '$share/all/#' "\$share/all/$room" other/topic)
# The spy also takes a room of its own, so it stays connected and listening
# when every other filter is refused.
spy_args=(-t "pimuru/v1/room/00000000000000000000000000000000")
for filter in "${filters[@]}"; do spy_args+=(-t "$filter"); done
mqtt mosquitto_sub "${spy_args[@]}" -d -v -W 20 >"$work/spy.txt" 2>&1 &
spy=$!
mqtt mosquitto_sub -t "$room" -C 2 -d -W 20 >"$work/guest.txt" 2>&1 &
guest=$!
# Both have their answer to the subscription before anything is sent.
for _ in $(seq 1 300); do
    grep -q "^Subscribed" "$work/spy.txt" && grep -q "^Subscribed" "$work/guest.txt" && break
    sleep 0.1
done
# Too big for the broker (sent as MQTT 3.1.1, whose client cannot know the
# limit), then a message in the room and one outside it.
head -c 10000 /dev/zero | tr '\0' x | mqtt mosquitto_pub -V 311 -t "$room" -s 2>/dev/null
mqtt mosquitto_pub -t "$room" -m offer -D publish message-expiry-interval 60
mqtt mosquitto_pub -t other/topic -m stray 2>/dev/null
mqtt mosquitto_pub -t "$room" -m answer -D publish message-expiry-interval 60
wait "$guest"
heard=$(grep -v -e '^Client ' -e '^Subscribed' "$work/guest.txt")
[ "$heard" = "$(printf 'offer\nanswer')" ] || fail "the room carried: $(echo "$heard" | head -c 300)"
# The spy listens on until the room's talk is surely past it.
sleep 1
kill -TERM "$spy"
wait "$spy"
# Reason codes of the subscription: granted for its own room, 135 (not
# authorised) for every other filter.
granted=$(sed -n 's/^Subscribed (mid: [0-9]*): //p' "$work/spy.txt")
[ "$granted" = "0$(printf ', 135%.0s' "${filters[@]}")" ] || fail "the spy's subscriptions came back as: $granted"
grep -q -e offer -e answer -e stray "$work/spy.txt" && fail "the wildcard subscriber heard: $(cat "$work/spy.txt")"

timeout 5 turnutils_stunclient -p "$turn_port" 127.0.0.1 >"$work/stun.txt" 2>&1
grep -q "UDP reflexive addr: 127.0.0.1:" "$work/stun.txt" || fail "no STUN answer: $(cat "$work/stun.txt")"

kill -TERM "$serve_pid"
for _ in $(seq 1 100); do kill -0 "$serve_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$serve_pid" 2>/dev/null && fail "scripts/serve did not stop on SIGTERM"
wait "$serve_pid"
status=$?
serve_pid=
[ "$status" = 0 ] || fail "scripts/serve ended with status $status on SIGTERM"
for pid in $server_pids; do kill -0 "$pid" 2>/dev/null && fail "server process $pid outlived scripts/serve"; done
run_dir=$(sed -n 's|.*pid file created: \(.*\)/turnserver.pid.*|\1|p' "$work/serve.log" | head -n 1)
[ -n "$run_dir" ] || fail "coturn did not say where its pid file is"
[ -e "$run_dir" ] && fail "scripts/serve left $run_dir behind"
echo "serve: room round trip, wildcards and \$SYS denied, size limit holds, STUN answers, clean stop"
