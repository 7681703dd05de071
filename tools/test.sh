#!/usr/bin/env bash
# Builds and runs every test with the given preset (debug by default) inside a
# private D-Bus session with an unlocked, throw-away Secret Service.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"
# Paths inside the checkout count as relative and the build folder is not
# hashed, so every clone of the project shares ccache's objects.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

bash tools/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
bash tools/test-session.sh ctest --preset "$preset" -j2 --output-on-failure
