#!/usr/bin/env bash
# The Windows rows of `make bench`: Tessarline.exe's start (TessarlineBench.exe, the same program
# start closed after its first painted frame) from process start to its first painted frame
# against a minimal Win32 window, both under Wine, then the shipped exe's stripped size and
# imports.
#
#   bench/windows.sh RUNS WARMUP TARGET_RATIO
#
# Prints only Markdown table rows (| command | time | memory | time ratio | memory ratio |);
# everything else goes to stderr. Targets are reported, never enforced: the script fails only
# when something cannot be built or run.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-10}
warmup=${2:-2}
target=${3:-1.10}
jobs=$(nproc 2>/dev/null || echo 2)
build=build-windows-bench
size_target_kb=300
# Between runs: lets the previous program's processes in the prefix wind down.
gap_ms=200

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessarline-winbench.XXXXXX")
prefix=$scratch/prefix
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$scratch"
}
trap cleanup EXIT
# Runs a step with its output kept aside, shown only when it fails.
quiet() {
    "$@" </dev/null >"$scratch/log" 2>&1 || {
        cat "$scratch/log" >&2
        echo "windows.sh: failed: $*" >&2
        exit 1
    }
}

# The benchmark build: same toolchain, build type and art tool as `make windows`.
echo "windows.sh: building the Windows benchmark programs" >&2
quiet make --no-print-directory art
quiet cmake -S . -B "$build" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=MinSizeRel \
    --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DTESSARLINE_ART_TOOL="$PWD/build-art/app/art/tessarline_art" \
    -DTESSARLINE_BENCH=ON -DTESSARLINE_TESTS=OFF
quiet cmake --build "$build" -j "$jobs" --target Tessarline TessarlineBench MinimalWin32
exe=$build/Tessarline.exe
timed=$build/bench/TessarlineBench.exe
minimal=$build/bench/MinimalWin32.exe

# The host driver, normally built by bench/run.sh already.
sb=build-bench/bench/startup_bench
if [ ! -x "$sb" ]; then
    quiet cmake -S . -B build-bench -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTESSARLINE_BENCH=ON -DTESSARLINE_TESTS=OFF
    quiet cmake --build build-bench -j "$jobs" --target startup_bench
fi

# One prefix for every run, made by the tests' own script (null graphics driver). A first run
# of each program shows that its window gets painted under that driver: both quit only from
# their first WM_PAINT, so one that never came would stop here, not hang the timed runs.
echo "windows.sh: preparing the Wine prefix" >&2
for program in "$minimal" "$timed"; do
    quiet timeout 120 scripts/wine-env.sh run "$prefix" "$program"
done
# One server for every run, so that the runs measure the programs' start, not the server's:
# the set-up's server lingers only briefly, so replace it with one that stays.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -p </dev/null >/dev/null 2>&1
# Wine's helper processes outlive the programs and keep their output handles open: the rows go
# to a file, never straight into whoever reads this script's output.
"$sb" "$runs" "$warmup" "$gap_ms" "$target" "Tessarline.exe (Wine)" -- wine "$timed" \
    --vs "minimal Win32 window (Wine)" -- wine "$minimal" >"$scratch/rows" 2>"$scratch/err" || {
    cat "$scratch/err" >&2
    echo "windows.sh: the start-up runs failed" >&2
    exit 1
}
cat "$scratch/rows"

# Size and imports of the shipped exe, as built in the benchmark build.
stripped=$scratch/Tessarline.exe
x86_64-w64-mingw32-strip -o "$stripped" "$exe"
bytes=$(stat -c %s "$stripped")
kb=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1024 }')
if [ "$bytes" -le $((size_target_kb * 1024)) ]; then verdict=met; else verdict="not met"; fi
echo "| Tessarline.exe stripped size | $kb KiB ($bytes bytes) | target at most $size_target_kb KB ($((size_target_kb * 1024)) bytes): $verdict | | |"

imports=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
[ -n "$imports" ] || {
    echo "windows.sh: no imports read from $exe" >&2
    exit 1
}
# The same list of system DLLs as the tests' check of the shipped program.
if cmake -DOBJDUMP=x86_64-w64-mingw32-objdump -DEXE="$exe" \
    -P tests/win32/CheckImports.cmake >"$scratch/imports" 2>&1; then
    verdict=met
else
    verdict="not met"
    cat "$scratch/imports" >&2
fi
echo "| Tessarline.exe imports | $(echo $imports | sed 's/ /, /g') | only system DLLs: $verdict | | |"
