#!/usr/bin/env bash
# Starts the game. Without a display it runs on a virtual X server instead, saves a picture of
# the window next to the program once the board has been drawn, and stops.
# Usage: scripts/run.sh PATH/TO/tessarline
set -euo pipefail

game=${1:?usage: $0 PATH/TO/tessarline}
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$game"
fi

dir=$(dirname "$game")
shot="$dir/tessarline.png"
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the game on a virtual X server and saving its window to $shot."

xvfb_pid=
game_pid=
runtime=
cleanup() {
    local pid
    for pid in $game_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if [ -n "$runtime" ]; then
        rm -rf "$runtime"
    fi
}
trap cleanup EXIT

# Our server is up on :$n when it holds the display's lock and its socket is there.
ours() {
    [ -e "/tmp/.X11-unix/X$n" ] &&
        [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" = "$xvfb_pid" ]
}

# The first display number from :91 up that has no lock and whose server comes up.
n=91
while :; do
    if [ "$n" -gt 190 ]; then
        echo "run.sh: no free X display number from :91 to :190" >&2
        exit 1
    fi
    if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then
        n=$((n + 1))
        continue
    fi
    Xvfb ":$n" -nolisten tcp -screen 0 1024x768x24 >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do
        ours && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$xvfb_pid" 2>/dev/null && ours; then
        break
    fi
    # Another server took the number first.
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
    n=$((n + 1))
done
export DISPLAY=":$n"
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    runtime=$(mktemp -d)
    export XDG_RUNTIME_DIR="$runtime"
fi

"$game" &
game_pid=$!
window=
for _ in $(seq 200); do
    window=$(xdotool search --name '^Tessarline$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    if ! kill -0 "$game_pid" 2>/dev/null; then
        game_pid=
        echo "run.sh: the game stopped before its window appeared" >&2
        exit 1
    fi
    sleep 0.05
done
if [ -z "$window" ]; then
    echo "run.sh: the game's window did not appear" >&2
    exit 1
fi
"$dir/tessarline_grab" --wait-board "$window" "$shot"
echo "Saved $shot"
