#!/usr/bin/env bash
# Runs a command while tools/test_http_server.py serves a script on loopback:
#
#   with_http_server.sh SCRIPT.json [SERVER OPTIONS...] -- COMMAND [ARGS...]
#
# SERVER OPTIONS go to the server as they are (--max-requests, --idle-seconds,
# --lifetime-seconds), after defaults of 300 idle seconds and a 900-second
# lifetime: the first Wine start on a fresh prefix may take minutes.
# The command, typically scripts/wine-run test.exe, finds the server through
# the environment:
#   TEST_HTTP_PORT           the port on 127.0.0.1
#   TEST_HTTP_LOG            the JSON-lines record of the requests, and
#   TEST_HTTP_RAW_LOG        their raw bytes, both as Windows paths (Z:\...);
#   TEST_HTTP_LOG_UNIX, TEST_HTTP_RAW_LOG_UNIX   the same files as Linux paths.
# The server is stopped when the command ends and the records are removed
# (kept, and their folder printed, when TEST_HTTP_KEEP_RECORDS=1). The exit
# status is the command's; 125 when the server could not start.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../server_start.sh"
server="$here/../../tools/test_http_server.py"

[ $# -ge 3 ] || { echo "usage: $0 SCRIPT.json [SERVER OPTIONS...] -- COMMAND [ARGS...]" >&2; exit 2; }
script=$1; shift
options=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
[ "${1:-}" = "--" ] && shift
[ $# -gt 0 ] || { echo "$0: no command given" >&2; exit 2; }

records="$(mktemp -d "${TMPDIR:-/tmp}/test-http.XXXXXX")"
python3 "$server" --script "$script" --port-file "$records/port" \
  --log "$records/requests.jsonl" --raw-log "$records/requests.raw" \
  --idle-seconds 300 --lifetime-seconds 900 "${options[@]}" &
server_pid=$!

stop_server() {
  kill "$server_pid" 2>/dev/null
  wait "$server_pid" 2>/dev/null
  if [ "${TEST_HTTP_KEEP_RECORDS:-0}" = 1 ]; then
    echo "with_http_server: records kept in $records" >&2
  else
    rm -rf "$records"
  fi
}
trap stop_server EXIT

wait_for_server "$server_pid" "$records/port" with_http_server

export TEST_HTTP_PORT="$(cat "$records/port")"
export TEST_HTTP_LOG_UNIX="$records/requests.jsonl" TEST_HTTP_RAW_LOG_UNIX="$records/requests.raw"
export TEST_HTTP_LOG="$(windows_path "$TEST_HTTP_LOG_UNIX")"
export TEST_HTTP_RAW_LOG="$(windows_path "$TEST_HTTP_RAW_LOG_UNIX")"

"$@"
