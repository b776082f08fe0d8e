#!/usr/bin/env bash
# The real program on a Linux desktop: with no display, on X11 (the Motif hints of both
# windows), under headless Wayland, and from its package.   Usage: desktop.sh CHECK BUILD_DIR
set -euo pipefail
build=$2 game=$2/tessarline grab=$2/tessarline_grab scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
scratch=$(mktemp -d) && cd "$scratch" && export XDG_RUNTIME_DIR=$scratch
trap 'set +e; kill $(jobs -p) 2>/dev/null; xvfb_stop 2>/dev/null; wait; rm -rf "$scratch"' EXIT
case $1 in
none) # one line on stderr, exit status 1
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$game" 2>"$scratch/err" || status=$?
    cat err && [ "${status:-0}" -eq 1 ] && [ "$(wc -l <err) $(grep -c DISPLAY err)" = "1 1" ]
    ;;
x11) # move and close; a border, the title and the menu
    . "$scripts/xvfb.sh" && xvfb_start
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$game" &
    board=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tessarline$')
    xdotool windowfocus --sync "$board" key alt+h
    dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^About Tessarline$')
    for w in "$board" "$dialog"; do xprop -id "$w" _MOTIF_WM_HINTS; done | tee /dev/stderr |
        grep -c '= 0x3, 0x24, 0x1a, 0x0, 0x0$' | grep -qx 2
    ;;
wayland) # the board in a screenshot; the program finds the compositor without being told
    export WAYLAND_DISPLAY=tessarline-test
    weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 --idle-time=0 \
        --socket="$WAYLAND_DISPLAY" --no-config --debug 2>"$scratch/weston.log" &
    timeout 10 sh -c 'until [ -S "$0" ]; do sleep 0.1; done' "$scratch/$WAYLAND_DISPLAY"
    env -u DISPLAY -u QT_QPA_PLATFORM "$game" &
    for _ in $(seq 50); do
        sleep 0.2 && rm -f wayland-screenshot-*.png
        weston-screenshooter >/dev/null 2>&1 && "$grab" --find-board wayland-screenshot-*.png && exit
    done # the last try's failure is the script's
    ;;
package) # the distribution's checkers; unpacked, the program draws its board
    cpack --config "$build/CPackConfig.cmake" -B "$scratch" >/dev/null
    lintian --fail-on error,warning "$scratch"/tessarline_*.deb
    dpkg-deb -x "$scratch"/tessarline_*.deb "$scratch/root"
    desktop-file-validate "$scratch"/root/usr/share/applications/*.desktop
    appstreamcli validate --no-net "$scratch"/root/usr/share/metainfo/*.xml
    cp "$grab" "$scratch/root/usr/bin/" # scripts/run.sh waits with it for the board
    env -u DISPLAY -u WAYLAND_DISPLAY "$scripts/run.sh" "$scratch/root/usr/bin/tessarline"
    ;;
*) QT_SCALE_FACTOR=$1 "$build/tests/desktop/desktop_look_tests" ;; # the dialog at a scale
esac
