# Sourced by scripts: starts a private virtual X server on the first free display from :91 up.
# After xvfb_start, DISPLAY names it and xvfb_pid is its process; xvfb_stop ends it.

xvfb_pid=

# Our server is up on :$1 when it holds the display's lock and its socket is there.
xvfb_ours() {
    [ -e "/tmp/.X11-unix/X$1" ] &&
        [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$1-lock")" = "$xvfb_pid" ]
}

xvfb_start() {
    local n=91
    while :; do
        if [ "$n" -gt 190 ]; then
            echo "no free X display number from :91 to :190" >&2
            return 1
        fi
        if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then
            n=$((n + 1))
            continue
        fi
        # No reset when the last client leaves: a client arriving then could not connect.
        Xvfb ":$n" -noreset -nolisten tcp -screen 0 1024x768x24 >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 200); do
            xvfb_ours "$n" && break
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.05
        done
        if kill -0 "$xvfb_pid" 2>/dev/null && xvfb_ours "$n"; then
            export DISPLAY=":$n"
            return 0
        fi
        # Another server took the number first.
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
        n=$((n + 1))
    done
}

xvfb_stop() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    fi
}
