#!/usr/bin/env bash
# Runs Windows programs under Wine in a private, headless Wine prefix.
#
#   scripts/wine-env.sh run PREFIX PROGRAM.exe [ARGS...]
#       Runs the program in PREFIX, making the prefix first if it is not ready. This is the
#       cross build's test emulator. TESSARLINE_WINEPREFIX, when set, overrides PREFIX.
#   scripts/wine-env.sh ctest BUILD_DIR [CTEST_ARGS...]
#       Runs ctest in BUILD_DIR with a throw-away prefix, removed afterwards.
#
# The user's own Wine prefix is never touched: WINEPREFIX from the environment is ignored.
set -euo pipefail

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Makes the prefix once; concurrent callers wait for the first one. Wine's own messages go to
# PREFIX.log, shown only when the set-up fails.
prepare_prefix() {
    local prefix=$1
    mkdir -p "$(dirname "$prefix")"
    exec 9>"$prefix.lock"
    flock 9
    if [ ! -e "$prefix/.tessarline-ready" ]; then
        rm -rf "$prefix"
        mkdir -p "$prefix"
        if ! make_prefix "$prefix" >"$prefix.log" 2>&1; then
            echo "wine-env.sh: cannot set up the Wine prefix $prefix:" >&2
            tail -n 20 "$prefix.log" >&2
            exit 1
        fi
        touch "$prefix/.tessarline-ready"
    fi
    flock -u 9
    exec 9>&-
}

make_prefix() {
    export WINEPREFIX=$1
    # No display during set-up: nothing may open a window.
    env -u DISPLAY -u WAYLAND_DISPLAY wine wineboot -i &&
        # Windows without a display: the null graphics driver; unmanaged if X11 is ever used.
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f &&
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
        wineserver -w
}

case "${1:-}" in
run)
    [ $# -ge 3 ] || {
        echo "usage: $0 run PREFIX PROGRAM.exe [ARGS...]" >&2
        exit 2
    }
    prefix=${TESSARLINE_WINEPREFIX:-$2}
    shift 2
    prepare_prefix "$prefix"
    export WINEPREFIX=$prefix
    # Keep the server up between the tests' programs rather than restarting it for each.
    wineserver -p30 </dev/null >/dev/null 2>&1 || true
    # Wine's own background processes inherit the output handles and outlive the program:
    # collect its output in files, so that whoever reads it is not kept waiting for them.
    output=$(mktemp -d "${TMPDIR:-/tmp}/tessarline-wine-run.XXXXXX")
    status=0
    wine "$@" </dev/null >"$output/out" 2>"$output/err" || status=$?
    cat "$output/out"
    cat "$output/err" >&2
    rm -rf "$output"
    exit "$status"
    ;;
ctest)
    [ $# -ge 2 ] || {
        echo "usage: $0 ctest BUILD_DIR [CTEST_ARGS...]" >&2
        exit 2
    }
    build=$2
    shift 2
    command -v wine >/dev/null || {
        echo "wine is not installed: scripts/install-deps.sh test" >&2
        exit 1
    }
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessarline-wine.XXXXXX")
    export TESSARLINE_WINEPREFIX=$scratch/prefix
    cleanup() {
        WINEPREFIX=$TESSARLINE_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
        rm -rf "$scratch"
    }
    trap cleanup EXIT
    cd "$build"
    ctest --output-on-failure "$@"
    ;;
*)
    sed -n '2,11p' "$0" >&2
    exit 2
    ;;
esac
