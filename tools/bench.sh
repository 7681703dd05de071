#!/usr/bin/env bash
# Builds the release benchmarks and runs each one; every benchmark measures
# our code against its baseline in the same run, their repetitions taking
# turns, from the median of five repetitions unless other benchmark flags are
# given. Ends with one table of every ratio: wall-clock, calling-thread or all
# threads' CPU time, target, met or missed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
ratios="$(mktemp)"
trap 'rm -f "$ratios"' EXIT
for bench in build/release/bench/*_bench; do
    echo "== $(basename "$bench")"
    # The program's benchmarks run it signed in: a private bus with a keyring.
    case "$bench" in
    *_x11_bench) # times the program from outside, on an X server of its own
        xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb bash tools/test-session.sh "$bench" | tee -a "$ratios" ;;
    *)
        QT_QPA_PLATFORM=offscreen bash tools/test-session.sh "$bench" "${@:---benchmark_repetitions=5}" | tee -a "$ratios" ;;
    esac
done
echo
cell() { [ "$1" = - ] && echo "" || echo "${1}x"; }
echo "| Figure | Wall clock | CPU (calling thread) | CPU (all threads) | Target | |"
echo "|---|---|---|---|---|---|"
grep -o $'RATIO\t.*' "$ratios" | while IFS=$'\t' read -r _ label wall cpu all target verdict; do
    echo "| $label | ${wall}x | $(cell "$cpu") | $(cell "$all") | <= ${target}x | $verdict |"
done
grep -o $'FIGURE\t.*' "$ratios" | while IFS=$'\t' read -r _ label value target verdict; do
    [ "$target" = - ] && target="" || target="<= $target"
    echo "| $label | $value | | | $target | $verdict |"
done
# Counts, not ratios: each repetition prints its own and every one must match.
grep -o $'COUNT\t.*' "$ratios" | sort | uniq -c | while read -r times rest; do
    IFS=$'\t' read -r _ label value expected <<<"$rest"
    verdict=missed
    [ "$value" = "$expected" ] && verdict=met
    echo "| $label (${times} runs) | $value | | | = $expected | $verdict |"
done
