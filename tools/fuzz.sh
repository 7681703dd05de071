#!/usr/bin/env bash
# Builds the decoder fuzzer with clang and runs it for a bounded time from the
# seed corpus (default 60 s). Any crash, sanitizer report or broken round trip
# fails the run; the artefact lands in build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

bash tools/install-deps.sh --with-fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

work="build/fuzz/corpus"
mkdir -p "$work" build/fuzz/artifacts
status=0
build/fuzz/tests/fuzz/decoder_fuzz "$work" tests/fuzz/corpus \
    -max_total_time="$seconds" -max_len=16384 -timeout=5 -rss_limit_mb=2048 \
    -artifact_prefix=build/fuzz/artifacts/ -print_final_stats=1 >build/fuzz/last-run.log 2>&1 || status=$?
if ((status)); then
    tail -n 60 build/fuzz/last-run.log
else
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' build/fuzz/last-run.log || true
fi
exit "$status"
