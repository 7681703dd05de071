#!/usr/bin/env bash
# Builds the release benchmarks and runs each one; every benchmark prints the
# ratio of our code against its baseline measured in the same run, from the
# median of five repetitions unless other benchmark flags are given.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
for bench in build/release/bench/*_bench; do
    echo "== $(basename "$bench")"
    QT_QPA_PLATFORM=offscreen "$bench" "${@:---benchmark_repetitions=5}"
done
