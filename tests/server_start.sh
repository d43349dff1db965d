# Sourced by the test wrappers that start a server of ours on loopback.

# wait_for_server PID FILE NAME: waits (10 s at most) until the server has
# written its port file; exits with 125 when it did not start.
wait_for_server() {
  local pid=$1 file=$2 name=$3
  for _ in $(seq 1 100); do
    [ -s "$file" ] && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "$name: the server did not start" >&2
  exit 125
}

# A Linux path as the Windows programs under Wine see it: drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
