#!/usr/bin/env bash
# Runs the end-to-end harness against one program on a private virtual X server, with no
# system-information tool to be found: for the Qt program a PATH that holds none, for
# Tessarline.exe a fresh Wine prefix, where it is installed from its package, played from its
# shortcut and removed. Usage: tests/e2e/e2e.sh HARNESS PROGRAM
#                          or: tests/e2e/e2e.sh HARNESS PACKAGE.msi OLDER.msi BUILT.exe BUILT.ico
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
[[ $program == *.msi ]] || { "$harness" env PATH="$scratch/bin" "$program"; exit; }

# Installed as a user installs it, played from the Start menu, removed. Wine's X11 driver with
# unmanaged windows: plain X windows, with frames that Wine draws; its messages go to a log.
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" log=$scratch/wine.log
older=${3:?} exe=${4:?} ico=${5:?} failed=0 version=${program%.msi} && version=${version##*-}
trap 'echo "FAILED $BASH_COMMAND" && tail -n 20 "$log" >&2' ERR
check() { if "${@:2}"; then echo "ok     $1"; else echo "FAILED $1" && failed=1; fi; }
# The prefix's files and registry keys, as its server saves them when it ends; what it gained.
state() {
    wineserver -w
    { find "$WINEPREFIX/drive_c" && sed -n 's/^\(\[.*\]\).*/\1/p' "$WINEPREFIX"/*.reg; } | sort
}
added() { state | comm -13 "$scratch/before" - | tee "$scratch/added"; }
# A registry key's values below it, one NAME=VALUE a line.
values() { wine reg query "$1" /s | tr -d '\r' | sed -n 's/^ *\(\S*\) *REG_\w* *\(.*\)/\1=\2/p'; }
{ wine wineboot -i && wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f; } >"$log" 2>&1
state >"$scratch/before"
check "the package says it is Tessarline $version by KORVEN" \
    grep -qzP "\nSubject: Tessarline $version\nAuthor: KORVEN\n" <(msiinfo suminfo "$program")

# Over an older version; then, the program lost, once more, which repairs it.
for package in "$older" "$program"; do wine msiexec /i "$package" /qn >>"$log" 2>&1; done
rm "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs/Tessarline/Tessarline.exe
wine msiexec /i "$program" /qn >>"$log" 2>&1
check "one program, shortcut, icon, kept package and entry under installed apps" test "$(added |
    grep -ce 'Programs/Tessarline/Tessarline.exe$' -e 'Programs/Tessarline.lnk$' -e '\.ico$' \
        -e 'windows/Installer/.*\.msi$' -e 'Uninstall\\\\{')" = 5
check "it is the built program" cmp "$exe" "$(grep -m1 '/Tessarline.exe$' "$scratch/added")"
# Wine's msi keeps the entry under HKLM, a per-user product's too.
code=$(msiinfo export "$program" Property | sed -n 's/^ProductCode\t\([^\r]*\).*/\1/p')
check "the entry: Tessarline by KORVEN, $version" test "$(grep -cx -e DisplayName=Tessarline \
    -e Publisher=KORVEN -e "DisplayVersion=$version" \
    <(values "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code"))" = 3
lnk=$(grep -m1 'Programs/Tessarline.lnk$' "$scratch/added") || lnk=
icon=$(strings -a -el "$lnk" | grep -o 'C:.*\.ico$') || icon=
check "the shortcut shows the program's icon" cmp "$ico" "$(winepath -u "$icon")"
check "the entry too" grep -qxF "ProductIcon=$icon" <(values 'HKCU\Software\Microsoft\Installer')

# A play that fails may leave windows open, which would keep the server up: they are ended.
"$harness" wine start /wait "$(winepath -w "$lnk")" 2>>"$log" || { failed=1 && wineserver -k; }
wine msiexec /x "$program" /qn >>"$log" 2>&1
# Windows Installer's own folders and keys stay, empty.
check "nothing of it remains" \
    test -z "$(added | grep -vE '(Installer|Features|Products|UpgradeCodes|Components)]?$')"
[ "$failed" = 0 ] || { cat "$scratch/added" && exit 1; }
