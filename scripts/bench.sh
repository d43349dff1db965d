#!/usr/bin/env bash
# Builds the program and its benchmark, starts the benchmark's own loopback
# site and prints the table of figures (see docs/benchmark.md).
#   scripts/bench.sh             the build that runs here (32-bit where Wine can)
#   scripts/bench.sh PRESET      windows-i686 or windows-x86_64
#   scripts/bench.sh PRESET --sections parse,request
#                                some of parse, charset, request, startup, window
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/preset.sh
preset=${1:-$run_preset}
[ $# -gt 0 ] && shift
configure_and_build "$preset" torrent_finder_bench >/dev/null
wine_env_ready
build="build/${preset#windows-}"

records="$(mktemp -d "${TMPDIR:-/tmp}/bench-site.XXXXXX")"
python3 bench/bench_site.py --port-file "$records/port" --idle-timeout 120 &
site=$!
trap 'kill $site 2>/dev/null; rm -rf "$records"' EXIT
. tests/server_start.sh
wait_for_server "$site" "$records/port" bench_site
port=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["port"])' "$records/port")

exe="$build/bench/torrent_finder_bench.exe"
"$(wine_env_loader_for "$exe")" "$exe" --site "http://127.0.0.1:$port" \
  --program "$(windows_path "$(realpath "$build/app/TorrentFinder.exe")")" \
  --minimal "$(windows_path "$(realpath "$build/bench/bench_minimal_window.exe")")" "$@"
