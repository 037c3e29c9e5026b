#!/usr/bin/env bash
# Takes the user guide's screenshots again from the real program: builds the guided tour,
# starts a virtual screen (Xvfb) with a small window manager (openbox) so windows show their
# captions, runs the tour in an empty home folder and writes docs/screenshots/guide-*.png
# and docs/screenshots/main.png. Needs no display of its own.
# Usage: scripts/screenshots.sh [--focus]     (--focus also prints each window's tab order)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/screenshots
shots=$root/docs/screenshots

packages=(xvfb openbox)
"$root/scripts/install-packages.sh" "${packages[@]}"

"$root/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DPRAXO_BUILD_TESTS=OFF \
    -DPRAXO_BUILD_BENCH=OFF -DPRAXO_BUILD_TOUR=ON

scratch=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$scratch" "${home:-}"
}
trap cleanup EXIT

# A free display number: the first without a lock file.
display=90
while [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done
HOME=$scratch openbox >"$scratch/openbox.log" 2>&1 &
pids+=($!)
sleep 1

# The home folder shows in the screenshots, so it has the same name on every run.
home=/tmp/varnek-praxo
rm -rf "$home"
mkdir -p "$home" "$scratch/shots"
# The same look on every machine: no desktop theme, one scale, English texts.
(cd "$home" && env -u QT_QPA_PLATFORMTHEME -u QT_SCALE_FACTOR LANG=C.UTF-8 \
    QT_QPA_PLATFORM=xcb "$build/tests/tour/praxo_tour" "$scratch/shots" "$@")

mkdir -p "$shots"
rm -f "$shots"/guide-*.png
cp "$scratch"/shots/*.png "$shots/"
echo "Screenshots written to $shots"
