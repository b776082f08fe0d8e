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

game_pid=
runtime=
cleanup() {
    if [ -n "$game_pid" ]; then
        kill "$game_pid" 2>/dev/null || true
        wait "$game_pid" 2>/dev/null || true
    fi
    xvfb_stop
    if [ -n "$runtime" ]; then
        rm -rf "$runtime"
    fi
}
trap cleanup EXIT

. "$(dirname "$0")/xvfb.sh"
xvfb_start
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
