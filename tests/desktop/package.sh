#!/usr/bin/env bash
# The Debian package as the distribution's checkers see it, and the program unpacked from it
# starting and drawing its board.   Usage: package.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$scratch" >/dev/null
deb=$(ls "$scratch"/tessarline_*.deb)
lintian --fail-on error,warning "$deb"
dpkg-deb -x "$deb" "$scratch/root"
desktop-file-validate "$scratch"/root/usr/share/applications/*.desktop
appstreamcli validate --no-net "$scratch"/root/usr/share/metainfo/*.xml
# On a virtual X server until the board shows, watched by the grab tool beside the program.
cp "$build/tessarline_grab" "$scratch/root/usr/bin/"
env -u DISPLAY -u WAYLAND_DISPLAY "$(dirname "$0")/../../scripts/run.sh" \
    "$scratch/root/usr/bin/tessarline"
