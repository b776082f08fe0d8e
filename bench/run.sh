#!/usr/bin/env bash
# `make bench`: what the program costs next to the least a program on its toolkit costs.
# Builds a separate benchmark build (its programs quit after their first painted frame), runs
# each pair alternately and writes one table to build/bench.md. Targets are reported, never
# enforced: the command fails only when something cannot be built or run.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${BENCH_RUNS:-10}
warmup=${BENCH_WARMUP:-2}
target=1.10
jobs=$(nproc 2>/dev/null || echo 2)
out=build/bench.md
mkdir -p build

cmake -S . -B build-bench -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTESSARLINE_BENCH=ON -DTESSARLINE_TESTS=OFF >/dev/null
cmake --build build-bench -j "$jobs" --target tessarline_first_frame minimal_qt minimal_qt_menu startup_bench core_bench >/dev/null

runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
. scripts/xvfb.sh
cleanup() {
    xvfb_stop
    rm -rf "$runtime"
}
trap cleanup EXIT

sb=build-bench/bench/startup_bench
game=build-bench/bench/tessarline_first_frame
rows=()
row() { rows+=("$1"); echo "$1"; }

echo "Linux start-up, $runs counted runs after $warmup warm-up runs each, alternating"
xvfb_start
# The X server needs a moment between clients.
while IFS= read -r line; do row "$line"; done < <(
    "$sb" "$runs" "$warmup" 300 "$target" "tessarline (Xvfb)" -- "$game" \
        --vs "minimal Qt window (Xvfb)" -- build-bench/bench/minimal_qt)
# The same program against a window that has only the menu bar and one character of text:
# what is left is the program's own cost.
while IFS= read -r line; do row "$line"; done < <(
    "$sb" "$runs" "$warmup" 300 "$target" "tessarline (Xvfb)" -- "$game" \
        --vs "minimal Qt window with a menu bar and text (Xvfb)" -- build-bench/bench/minimal_qt_menu)
xvfb_stop
unset DISPLAY
while IFS= read -r line; do row "$line"; done < <(
    QT_QPA_PLATFORM=offscreen "$sb" "$runs" "$warmup" 50 "$target" "tessarline (offscreen)" -- \
        "$game" --vs "minimal Qt window (offscreen)" -- build-bench/bench/minimal_qt)
while IFS= read -r line; do row "$line"; done < <(
    QT_QPA_PLATFORM=offscreen "$sb" "$runs" "$warmup" 50 "$target" "tessarline (offscreen)" -- \
        "$game" --vs "minimal Qt window with a menu bar and text (offscreen)" -- \
        build-bench/bench/minimal_qt_menu)

if [ -x bench/windows.sh ]; then
    while IFS= read -r line; do row "$line"; done < <(bench/windows.sh "$runs" "$warmup" "$target")
fi

echo "Web page, $runs counted runs after $warmup warm-up runs each, alternating"
while IFS= read -r line; do row "$line"; done < <(bench/web.sh "$runs" "$warmup" "$target")

echo "Core"
core=$(build-bench/bench/core_bench --benchmark_repetitions="$runs" \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '/_median"/ { gsub(/"/, "", $1); sub(/_median/, "", $1); printf "%s %.1f\n", $1, $3 }')

{
    echo "# Tessarline benchmark"
    echo
    echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -srm), $(nproc) cores."
    echo "Each start-up row: median of $runs runs after $warmup warm-up runs, the two commands of a"
    echo "pair alternating; from process start to the first painted frame and exit. Ratios are"
    echo "against the pair's floor; the target is at most $target. The second Linux floor has the"
    echo "same two-command menu bar and draws one character of text: the gap between the two floors"
    echo "is what the toolkit's menu bar and fonts cost, and the program's ratio to the second floor"
    echo "is its own cost. The web rows time a page load in headless Chromium from the navigation's"
    echo "start to the first painted board, against a page that only paints a canvas of that size"
    echo "(eight times the runs: a page load is short and varies more; the target is at most 1.2);"
    echo "Lighthouse audits the built page as a phone sees it, and all three scores must be 1."
    echo
    echo "| command | median wall time | median peak memory | time ratio | memory ratio |"
    echo "|---|---|---|---|---|"
    printf '%s\n' "${rows[@]}"
    echo
    echo "| core operation | median time per call |"
    echo "|---|---|"
    while read -r name ns; do
        case $name in
        BM_Move) echo "| one move (average over the nine moves of a full game) | $(awk -v t="$ns" 'BEGIN { printf "%.1f", t / 9 }') ns |" ;;
        BM_RefusedMove) echo "| one refused move | $ns ns |" ;;
        BM_Reset) echo "| one reset | $ns ns |" ;;
        esac
    done <<<"$core"
} >"$out"
echo
cat "$out"
