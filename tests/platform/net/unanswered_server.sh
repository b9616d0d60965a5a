#!/usr/bin/env bash
# A meeting server that drops every packet (a firewall, a machine gone): in a
# network namespace of the test's own, nft drops the connection to it, and the
# game must say so, naming the server, within 5 seconds and hang nowhere.
#   unanswered_server.sh <pimuru_unanswered_server>
set -euo pipefail
probe="$1"
if ! unshare --net true 2>/dev/null || ! command -v nft >/dev/null; then
    echo "skipped: needs network namespaces (root) and nft"
    exit 77
fi
exec unshare --net sh -c '
    ip link set lo up
    nft -f - <<EOT
table inet drop_meeting {
    chain out {
        type filter hook output priority 0;
        tcp dport 1883 drop
    }
}
EOT
    exec "$0" 1883' "$probe"
