#!/usr/bin/env bash
# The real program on a Linux desktop.   Usage: desktop.sh CHECK BUILD_DIR GAME GRAB
#   none     no display at all: one line on stderr, exit status 1
#   x11      both windows' Motif hints: move and close; a border, the title and the menu
#   wayland  under a headless Wayland compositor, the board in a screenshot
#   package  the .deb passes the distribution's checkers; unpacked, it draws its board
set -euo pipefail
build=$2 game=$3 grab=$4 scripts=$(dirname "$0")/../../scripts
scratch=$(mktemp -d)
export XDG_RUNTIME_DIR=$scratch
trap 'set +e; kill $(jobs -p) 2>/dev/null; xvfb_stop 2>/dev/null; wait; rm -rf "$scratch"' EXIT
case $1 in
none)
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$game" 2>"$scratch/err" || status=$?
    cat "$scratch/err"
    [ "${status:-0}" -eq 1 ] && [ "$(wc -l <"$scratch/err")" -eq 1 ] && grep -q DISPLAY "$scratch/err"
    ;;
x11)
    . "$scripts/xvfb.sh" && xvfb_start
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$game" &
    board=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tessarline$')
    xdotool windowfocus --sync "$board" key alt+h
    dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^About Tessarline$')
    for window in "$board" "$dialog"; do
        xprop -id "$window" _MOTIF_WM_HINTS | tee "$scratch/hints"
        grep -q '= 0x3, 0x24, 0x1a, 0x0, 0x0$' "$scratch/hints"
    done
    ;;
wayland)
    export WAYLAND_DISPLAY=tessarline-test
    weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 --idle-time=0 \
        --socket="$WAYLAND_DISPLAY" --no-config --debug 2>"$scratch/weston.log" &
    timeout 10 sh -c 'until [ -S "$0" ]; do sleep 0.1; done' "$scratch/$WAYLAND_DISPLAY"
    env -u DISPLAY -u QT_QPA_PLATFORM "$game" & # finds the compositor without being told
    cd "$scratch"
    for _ in $(seq 50); do
        sleep 0.2 && rm -f wayland-screenshot-*.png
        weston-screenshooter >/dev/null 2>&1 && "$grab" --find-board wayland-screenshot-*.png && exit
    done
    exit 1
    ;;
package)
    cpack --config "$build/CPackConfig.cmake" -B "$scratch" >/dev/null
    lintian --fail-on error,warning "$scratch"/tessarline_*.deb
    dpkg-deb -x "$scratch"/tessarline_*.deb "$scratch/root"
    desktop-file-validate "$scratch"/root/usr/share/applications/*.desktop
    appstreamcli validate --no-net "$scratch"/root/usr/share/metainfo/*.xml
    cp "$grab" "$scratch/root/usr/bin/" # scripts/run.sh waits with it for the board
    env -u DISPLAY -u WAYLAND_DISPLAY "$scripts/run.sh" "$scratch/root/usr/bin/tessarline"
    ;;
esac
