#!/usr/bin/env bash
# The real program on the displays of a Linux desktop.
#   windows.sh none GAME GRAB     no display at all: one line on stderr and exit status 1
#   windows.sh x11 GAME GRAB      both windows' Motif hints: move and close; border, title, menu
#   windows.sh wayland GAME GRAB  under a headless Wayland compositor: the board in a screenshot
set -euo pipefail
game=$2
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime
pids=()
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    xvfb_stop 2>/dev/null || true
    wait || true
    rm -rf "$runtime"
}
trap cleanup EXIT
case $1 in
none)
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$game" 2>"$runtime/err" || status=$?
    cat "$runtime/err"
    [ "$status" -eq 1 ] && [ "$(wc -l <"$runtime/err")" -eq 1 ] && grep -q DISPLAY "$runtime/err"
    ;;
x11)
    . "$(dirname "$0")/../../scripts/xvfb.sh"
    xvfb_start
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$game" &
    pids+=($!)
    board=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tessarline$')
    xdotool windowfocus --sync "$board" key alt+h
    dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^About Tessarline$')
    for window in "$board" "$dialog"; do
        hints=$(xprop -id "$window" _MOTIF_WM_HINTS)
        echo "$hints"
        [[ $hints == *"= 0x3, 0x24, 0x1a, 0x0, 0x0" ]]
    done
    ;;
wayland)
    export WAYLAND_DISPLAY=tessarline-test
    weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 \
        --socket="$WAYLAND_DISPLAY" --idle-time=0 --no-config --debug 2>"$runtime/weston.log" &
    pids+=($!)
    for _ in $(seq 100); do
        [ -S "$runtime/$WAYLAND_DISPLAY" ] && break
        sleep 0.1
    done
    # No platform named and no X server: the program finds the compositor itself.
    env -u DISPLAY -u QT_QPA_PLATFORM "$game" &
    pids+=($!)
    cd "$runtime"
    for _ in $(seq 50); do
        sleep 0.2
        rm -f wayland-screenshot-*.png
        weston-screenshooter >/dev/null 2>&1 && "$3" --find-board wayland-screenshot-*.png && exit 0
    done
    echo "windows.sh: weston's screenshots never showed the board" >&2
    exit 1
    ;;
esac
