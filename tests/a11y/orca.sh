#!/usr/bin/env bash
# Plays a short game by keys with Orca, the screen reader itself, listening, and checks what it
# spoke, in order: its debug file's speech lines are what a player hears. Everything runs on
# private buses and a private X server; speech goes to espeak-ng on ALSA's null device.
set -euo pipefail # usage: orca.sh path/to/tessarline
. "$(dirname "$0")/../../scripts/xvfb.sh"
scratch=$(mktemp -d) && chmod 700 "$scratch"
trap 'xvfb_stop; rm -rf "$scratch"' EXIT
xvfb_start
# Orca's and speech-dispatcher's settings, and their sockets, stay in the scratch folder.
export XDG_RUNTIME_DIR=$scratch HOME=$scratch XDG_CONFIG_HOME=$scratch/config
unset AT_SPI_BUS_ADDRESS QT_ACCESSIBILITY QT_SCALE_FACTOR
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$scratch/orca"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<CONF
AddModule "espeak-ng" "sd_espeak-ng" "/etc/speech-dispatcher/modules/espeak-ng.conf"
DefaultModule espeak-ng
AudioOutputMethod "alsa"
AudioALSADevice "null"
CONF

# Orca's launcher refuses to start beside any other Orca of the user (a reader's own, another
# test run's), found by name: this copy has its own name, looks for none and logs line by line.
sed -e 's/^\( *\)return \[p for p in orcas if p != pid\]$/\1return []/' \
    -e "s/open(args.debug_file, 'w')/open(args.debug_file, 'w', buffering=1)/" /usr/bin/orca >"$scratch/orca-under-test"
grep -q '^ *return \[\]$' "$scratch/orca-under-test" && grep -q 'buffering=1' "$scratch/orca-under-test" &&
    chmod +x "$scratch/orca-under-test"

# The keys, each followed by a pause for Orca to speak. Without a window manager a window gets
# the keyboard only when given it, so the script hands it to the dialog and back to the board
# as a window manager would.
export PROGRAM=$1 LOG=$scratch/orca.log
dbus-run-session -- bash -c '
    key() { xdotool key "$1"; sleep 1.5; }
    /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
    "$HOME/orca-under-test" -u "$HOME/orca" --debug-file "$LOG" >"$HOME/orca.out" 2>&1 & orca=$!
    stop() { kill "$1" 2>/dev/null; timeout 10 tail --pid="$1" -f /dev/null || kill -9 "$1"; }
    trap "stop \$game; stop \$orca; stop \$launcher" EXIT
    sleep 4
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$PROGRAM" & game=$!
    board=$(xdotool search --sync --onlyvisible --name "^Tessarline\$")
    xdotool windowfocus --sync "$board"
    sleep 3
    for k in 3 1 3 Right Return alt+r Left alt+h; do key "$k"; done
    dialog=$(timeout 20 xdotool search --sync --onlyvisible --name "^About Tessarline\$") &&
        xdotool windowfocus --sync "$dialog"
    key Escape
    # A window manager gives the keyboard back once the dialog is gone, not while it closes.
    for _ in $(seq 50); do xdotool search --onlyvisible --name "^About Tessarline\$" >/dev/null || break; sleep 0.2; done
    xdotool windowfocus --sync "$board"
    sleep 4'

# Each of these, in this order, among what Orca spoke.
cat >"$scratch/want" <<'WANT'
Board panel.
notification Pen on box 3. 1 of 10 edges traced.
notification Pen on box 1. 2 of 10 edges traced.
notification No faint edge from box 1 to box 3.
Box 2 push button.
notification Pen on box 2. 3 of 10 edges traced.
notification Board reset. Pen on box 1. 0 of 10 edges traced.
Box 1 push button.
About Tessarline dialog You have to connect all the boxes.
Box 1 push button.
WANT
sed -n "s/^.* - SPEECH OUTPUT: '\(.*\)'{.*/\1/p" "$LOG" >"$scratch/heard"
if ! awk 'NR == FNR { want[n++] = $0; next }
          i < n && index($0, want[i]) == 1 { i++ }
          END { exit i < n ? 1 : 0 }' "$scratch/want" "$scratch/heard"; then
    echo "Orca did not speak, in order:" && cat "$scratch/want"
    echo "It spoke:" && cat "$scratch/heard"
    tail -n 20 "$scratch/orca.out"
    exit 1
fi
echo "Orca spoke every move, the refused move, Reset and the focus after the dialog:"
cat "$scratch/heard"
