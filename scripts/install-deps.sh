#!/usr/bin/env bash
# Installs the Debian packages a task needs, skipping those already present.
# Usage: scripts/install-deps.sh run|test|bench|windows|windows-package|package|web|test-web
set -euo pipefail

# FreeSans is the face the program asks for; qt6-wayland runs it natively under Wayland.
# libcanberra plays the theme's bell where the toolkit's beep reaches nothing (Wayland).
common=(cmake make g++ pkg-config qt6-base-dev fonts-dejavu-core fonts-freefont-ttf qt6-wayland
    libcanberra-dev libcanberra-pulse sound-theme-freedesktop)
# The Debian package's tools, and the checks that make test runs on it.
package=(dpkg-dev file)
checks=(lintian desktop-file-utils appstream weston x11-utils)
# The Windows program: the mingw-w64 cross compiler (POSIX thread model); Wine and the
# GoogleTest sources for its tests.
mingw=(g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix)
wine=(wine wine64 googletest)
# Its installer, packed by wixl; the tests read it back with msitools.
msi=(wixl)
# The web page: Debian's emscripten builds it, Debian's chromium runs its test and benchmark.
web=(emscripten chromium)
case "${1:-run}" in
# The build configures the tests too, so running needs GoogleTest's headers as well.
run) wanted=("${common[@]}" libgtest-dev libgmock-dev libx11-dev xvfb xdotool) ;;
test) wanted=("${common[@]}" libgtest-dev libgmock-dev libx11-dev xvfb xdotool clang-format
    at-spi2-core python3-pyatspi dbus-x11 orca speech-dispatcher speech-dispatcher-espeak-ng
    espeak-ng pulseaudio pulseaudio-utils
    "${mingw[@]}" "${wine[@]}" "${msi[@]}" msitools "${web[@]}" "${package[@]}" "${checks[@]}") ;;
bench) wanted=("${common[@]}" libbenchmark-dev libx11-dev xvfb xdotool "${mingw[@]}" "${wine[@]}"
    "${web[@]}") ;;
windows) wanted=(cmake make g++ "${mingw[@]}") ;;
windows-package) wanted=(cmake make g++ "${mingw[@]}" "${msi[@]}") ;;
package) wanted=("${common[@]}" libgtest-dev libgmock-dev libx11-dev "${package[@]}") ;;
web) wanted=(make emscripten) ;;
test-web) wanted=(make "${web[@]}") ;;
*)
    echo "usage: $0 run|test|bench|windows|windows-package|package|web|test-web" >&2
    exit 2
    ;;
esac

missing=()
for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || {
        echo "Need root or sudo to install: ${missing[*]}" >&2
        exit 1
    }
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
# Through env, so that sudo does not drop the setting.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
