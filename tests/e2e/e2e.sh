#!/usr/bin/env bash
# Runs the end-to-end harness against one program on a private virtual X server, with no
# system-information tool to be found: for the Qt program a PATH that holds none, for
# Tessarline.exe a fresh Wine prefix. Usage: tests/e2e/e2e.sh HARNESS PROGRAM
set -euo pipefail
harness=${1:?usage: $0 HARNESS PROGRAM} program=${2:?usage: $0 HARNESS PROGRAM}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessarline-e2e.XXXXXX")
. "$(dirname "$0")/../../scripts/xvfb.sh"
trap '[ -z "${WINEPREFIX:-}" ] || wineserver -k >/dev/null 2>&1 || true; xvfb_stop; rm -rf "$scratch"' EXIT
# Scaling from the caller's environment would move every pixel the harness looks at.
unset WAYLAND_DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI
mkdir -m 700 "$scratch/runtime" && mkdir "$scratch/bin"
export XDG_RUNTIME_DIR=$scratch/runtime HOME=$scratch
xvfb_start
[[ $program == *.exe ]] || { "$harness" env PATH="$scratch/bin" "$program"; exit; }

# Wine's X11 driver with unmanaged windows: plain X windows, with frames that Wine draws. The
# prefix's server stays up for the program. Wine's own messages go to a log, shown on failure.
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" log=$scratch/wine.log
{ wine wineboot -i && wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f; } >"$log" 2>&1 &&
    "$harness" wine "$program" 2>>"$log" || { status=$?; tail -n 20 "$log" >&2; exit "$status"; }
