#!/usr/bin/env bash
# Builds everything and runs every test under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Code that does not match .clang-format fails the run before anything builds.
bash scripts/check-format.sh
. scripts/preset.sh

# The 32-bit program is always built, whichever build the tests run.
configure_and_build windows-i686
[ "$run_preset" = windows-i686 ] || configure_and_build "$run_preset"
wine_env_ready
ctest --preset "$run_preset" "$@"
