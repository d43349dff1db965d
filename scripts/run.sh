#!/usr/bin/env bash
# Builds the program and runs it under Wine.
#   scripts/run.sh                     run until the window is closed
#   scripts/run.sh --screenshot F.png  save a picture of the window to F.png and quit
set -euo pipefail
cd "$(dirname "$0")/.."
screenshot=""
if [ "${1:-}" = "--screenshot" ]; then screenshot=$(realpath -m "${2:?--screenshot needs a file name}"); fi

bash scripts/setup.sh
. scripts/preset.sh
configure_and_build "$run_preset" TorrentFinder
wine_env_ready
exe="build/${run_preset#windows-}/app/TorrentFinder.exe"

if [ -z "$screenshot" ]; then
  exec "$(wine_env_loader_for "$exe")" "$exe"
fi

"$(wine_env_loader_for "$exe")" "$exe" &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT
# The window opens centred on Wine's desktop, which fills the X screen.
sleep 4
screen_width=${wine_env_screen%x*} screen_height=${wine_env_screen#*x}
x=$(( (screen_width - 601) / 2 )) y=$(( (screen_height - 470) / 2 ))
import -window root -crop "601x470+$x+$y" +repage "$screenshot"
echo "screenshot: $screenshot"
