#!/usr/bin/env bash
# Runs board_reader.py against the program on a private X server, session bus and
# accessibility bus. Usage: run.sh path/to/tessarline
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/xvfb.sh"
runtime=$(mktemp -d) && chmod 700 "$runtime"
trap 'xvfb_stop; rm -rf "$runtime"' EXIT
xvfb_start
export XDG_RUNTIME_DIR=$runtime
# The private buses below, never a desktop's own.
unset AT_SPI_BUS_ADDRESS
# Debian's python: pyatspi is a Debian package, not on a pyenv python's path.
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
    trap "kill $launcher; wait $launcher" EXIT
    /usr/bin/python3 "$0" "$1"' "$here/board_reader.py" "$1"
