#!/usr/bin/env bash
# Runs the update check's Windows test program under Wine against a local
# update server (update_server.py on 127.0.0.1, stopped when the test ends)
# and a port where nothing listens.
# Arguments: scripts/wine-exec, the test program.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine_exec="$1"
program="$2"

ports=$(mktemp)
python3 "$here/update_server.py" 2.9.0 >"$ports" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$ports"' EXIT
for _ in $(seq 1 50); do [ -s "$ports" ] && break; sleep 0.1; done
[ -s "$ports" ] || { echo "the update server did not start" >&2; exit 1; }

CORVANE_TEST_HTTP_PORT=$(head -n 1 "$ports")
# A port that was free a moment ago: nothing listens there.
CORVANE_TEST_CLOSED_PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
export CORVANE_TEST_HTTP_PORT CORVANE_TEST_CLOSED_PORT
# Straight to the local server, whatever proxy the host names.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
"$wine_exec" "$program" --gtest_brief=1
