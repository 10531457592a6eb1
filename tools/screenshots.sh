#!/usr/bin/env bash
# Pictures of the program under Xvfb: the three tabs before and after a
# whole calculation typed in with the keyboard, the recommendation over step
# 3, the About window (also with the pointing hand over its web link, and the
# hand alone, enlarged, its hot spot marked), the help window, plus the
# program itself as it starts on a bare X screen.
#   bash tools/screenshots.sh FOLDER [BUILD_DIR]
# Needs xvfb and imagemagick (tools/bootstrap.sh installs them). Builds the
# project into BUILD_DIR (default: build) when the programs are missing.
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 FOLDER [BUILD_DIR]" >&2
    exit 2
fi
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
build=${2:-${PROCHNAR_BUILD_DIR:-$top/build}}

shots=$build/tools/screenshots/prochnar_ui_screenshots
program=$build/app/prochnar
if [ ! -x "$shots" ] || [ ! -x "$program" ]; then
    cmake -S "$top" -B "$build" -G Ninja >/dev/null
    cmake --build "$build" --target prochnar prochnar_ui_screenshots
fi

# A free display number and a private X server on it.
display=99
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display}" ] && break
    sleep 0.1
done

# The program as a user starts it: the whole screen, window centred.
"$program" &
program_pid=$!
sleep 2
import -window root "$out/start-screen.png"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=
echo "$out/start-screen.png"

# Each tab before and after a calculation, then the recommendation, the
# About window and the help.
"$shots" "$out"
