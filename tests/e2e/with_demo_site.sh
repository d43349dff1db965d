#!/usr/bin/env bash
# Runs a command while the bundled demo site serves on loopback:
#
#   with_demo_site.sh -- COMMAND [ARGS...]
#
# The command finds the site through the environment:
#   DEMO_SITE_ROOT, DEMO_CLOUD_ROOT   "http://127.0.0.1:PORT" of the search site and the cloud page
#   DEMO_LOG                           the site's JSON-lines request record (Z:\ path)
#   DEMO_EXPECTED                      folder (Z:\ path) of the rows each page should show:
#                                      KEYWORD-PAGE.tsv, one "name<TAB>link<TAB>first file" line per row, GBK
#   E2E_ARTIFACTS                      folder (Z:\ path) for screenshots; they are kept in
#                                      $E2E_ARTIFACTS_DIR (default: ./e2e-artifacts) as PNG
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../server_start.sh"
site="$here/../../tools/demo_site/demo_site.py"
[ "${1:-}" = "--" ] && shift

work="$(mktemp -d "${TMPDIR:-/tmp}/demo-site.XXXXXX")"
python3 "$site" --port 0 --cloud-port 0 --port-file "$work/ports.json" --log "$work/requests.jsonl" \
  --idle-timeout 600 >/dev/null &
site_pid=$!
artifacts="${E2E_ARTIFACTS_DIR:-$PWD/e2e-artifacts}"
mkdir -p "$artifacts" "$work/artifacts"

finish() {
  kill "$site_pid" 2>/dev/null
  wait "$site_pid" 2>/dev/null
  for bmp in "$work"/artifacts/*.bmp; do
    [ -f "$bmp" ] && convert "$bmp" "$artifacts/$(basename "${bmp%.bmp}").png"
  done
  rm -rf "$work"
}
trap finish EXIT

wait_for_server "$site_pid" "$work/ports.json" with_demo_site

mkdir -p "$work/expected"
python3 - "$site" "$work/expected" <<'PY'
import html, importlib.util, os, sys
source = importlib.util.spec_from_file_location("demo_site", sys.argv[1])
demo = importlib.util.module_from_spec(source)
source.loader.exec_module(demo)
catalog = demo.Catalog(demo.DEFAULT_CATALOG)
for keyword, pages in (("钢铁侠3", 3), ("linux", 2), ("zzzz", 1)):
    found = catalog.find(keyword)
    for p in range(pages):
        rows = found[p * demo.PAGE_SIZE:(p + 1) * demo.PAGE_SIZE]
        with open(os.path.join(sys.argv[2], "%s-%d.tsv" % (keyword, p)), "wb") as out:
            for e in rows:
                # The list shows names as text and links decoded; the detail keeps its HTML.
                line = "\t".join([" ".join(e["name"].split()), demo.magnet_link(e),
                                  html.escape(e["files"][0][0], quote=False)])
                out.write(line.encode("gbk") + b"\n")
PY

read -r port cloud_port < <(python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); print(d["port"], d["cloud_port"])' "$work/ports.json")
export DEMO_SITE_ROOT="http://127.0.0.1:$port" DEMO_CLOUD_ROOT="http://127.0.0.1:$cloud_port"
export DEMO_LOG="$(windows_path "$work/requests.jsonl")"
export DEMO_EXPECTED="$(windows_path "$work/expected")"
export E2E_ARTIFACTS="$(windows_path "$work/artifacts")"

"$@"
