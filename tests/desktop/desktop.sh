#!/usr/bin/env bash
# The real program on a Linux desktop: with no display, on X11 (the Motif hints of both
# windows), under headless Wayland, and from its package.   Usage: desktop.sh CHECK BUILD_DIR
set -euo pipefail
build=$2 game=$2/tessarline grab=$2/tessarline_grab scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
scratch=$(mktemp -d) && cd "$scratch" && export XDG_RUNTIME_DIR=$scratch
trap 'set +e; kill $(jobs -p) 2>/dev/null; xvfb_stop 2>/dev/null; wait; rm -rf "$scratch"' EXIT
weston_start() {
    export WAYLAND_DISPLAY=tessarline-test
    weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 --idle-time=0 \
        --socket="$WAYLAND_DISPLAY" --no-config --debug 2>"$scratch/weston.log" &
    timeout 10 sh -c 'until [ -S "$0" ]; do sleep 0.1; done' "$scratch/$WAYLAND_DISPLAY"
    unset DISPLAY QT_QPA_PLATFORM
}
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
    weston_start
    env -u DISPLAY -u QT_QPA_PLATFORM "$game" &
    for _ in $(seq 50); do
        sleep 0.2 && rm -f wayland-screenshot-*.png
        weston-screenshooter >/dev/null 2>&1 && "$grab" --find-board wayland-screenshot-*.png && exit
    done # the last try's failure is the script's
    ;;
bell) # under Wayland a refused move is heard at the sound server: boxes 2, 1, then 2 refused
    weston_start
    # A null sink that never takes back what it played, so its monitor records the bell.
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --load="module-null-sink sink_name=out norewinds=1" \
        --load=module-native-protocol-unix 2>pulse.log &
    timeout 10 sh -c 'until [ -S pulse/native ]; do sleep 0.1; done'
    parec -d out.monitor --raw --format=s16le --channels=1 --rate=8000 >heard.raw & sleep 1
    a11y=$(cd "$(dirname "$0")/../a11y" && pwd)
    dbus-run-session -- sh -c '/usr/libexec/at-spi-bus-launcher --launch-immediately &
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$0" & game=$!
        /usr/bin/python3 "$1" $game 2 1 2; sleep 2; kill $game' "$game" "$a11y/press.py"
    # Loudest sample: the bell, far above the null sink's silence.
    peak=$(od -An -v -td2 -w2 heard.raw | tr -d ' -' | sort -n | tail -n 1)
    echo "loudest sample: ${peak:-none}" && [ "${peak:-0}" -gt 1000 ]
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
