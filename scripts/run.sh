#!/usr/bin/env bash
# Builds the program and runs it under Wine against the bundled demo search
# site, which this script starts on 127.0.0.1:8877 (cloud page on 8878).
#   scripts/run.sh                     run until the window is closed
#   scripts/run.sh --screenshot F.png  search for the default keyword, save a
#                                      picture of the window to F.png and quit
set -euo pipefail
cd "$(dirname "$0")/.."
screenshot=""
if [ "${1:-}" = "--screenshot" ]; then screenshot=$(realpath -m "${2:?--screenshot needs a file name}"); fi

bash scripts/setup.sh
. scripts/preset.sh
configure_and_build "$run_preset" TorrentFinder
wine_env_ready
exe="build/${run_preset#windows-}/app/TorrentFinder.exe"

python3 tools/demo_site/demo_site.py --port 8877 --cloud-port 8878 --idle-timeout 3600 >/dev/null &
site=$!
trap 'kill $site 2>/dev/null || true' EXIT

if [ -z "$screenshot" ]; then
  "$(wine_env_loader_for "$exe")" "$exe"
  exit
fi

"$(wine_env_loader_for "$exe")" "$exe" &
program=$!
trap 'kill $program $site 2>/dev/null || true' EXIT
# The window opens centred on Wine's desktop, which fills the X screen.
screen_width=${wine_env_screen%x*} screen_height=${wine_env_screen#*x}
x=$(( (screen_width - 601) / 2 )) y=$(( (screen_height - 470) / 2 ))
sleep 4
xdotool mousemove $((x + 548)) $((y + 42)) click 1   # "搜索种子"
sleep 3
xdotool mousemove $((x + 300)) $((y + 460))
import -window root -crop "601x470+$x+$y" +repage "$screenshot"
echo "screenshot: $screenshot"
