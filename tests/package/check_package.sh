#!/usr/bin/env bash
# Builds the Debian package of a build folder, unpacks it into a scratch folder and starts the
# installed launcher on the offscreen platform in an empty home, checking that the program
# comes up, keeps running, and writes nothing before it is ended.
# Usage: check_package.sh <build-folder>      Exit 77: skipped (no cpack, dpkg-deb or package).
set -uo pipefail
build=${1:?build folder}
skip=77

for tool in cpack dpkg-deb timeout; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit $skip
    fi
done
if [ ! -f "$build/CPackConfig.cmake" ]; then
    echo "SKIP: $build has no package configuration"
    exit $skip
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    echo "FAIL: cpack could not build the package"
    exit 1
fi
debs=("$scratch"/out/varnek-praxo_*.deb)
if [ ! -f "${debs[0]}" ]; then
    cat "$scratch/cpack.log"
    echo "FAIL: no varnek-praxo_*.deb was written"
    exit 1
fi
deb=${debs[0]}
echo "package: $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Package)" = varnek-praxo ] || fail "wrong package name"
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for needed in libqt6widgets6 libqt6svg6 libqt6printsupport6 libsqlite3-0 libzip4 qt6-qpa-plugins; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed"
done

root=$scratch/root
dpkg-deb -x "$deb" "$root"
for file in usr/bin/praxo usr/bin/varnek-praxo; do
    [ -x "$root/$file" ] || fail "$file is missing or not executable"
done
icon=usr/share/icons/hicolor/scalable/apps/varnek-praxo.svg
desktop=usr/share/applications/varnek-praxo.desktop
[ -s "$root/$icon" ] && grep -q "<svg" "$root/$icon" || fail "$icon is missing or no SVG"
if [ -f "$root/$desktop" ]; then
    grep -qx "Exec=varnek-praxo" "$root/$desktop" || fail "$desktop does not run the launcher"
    grep -qx "Icon=varnek-praxo" "$root/$desktop" || fail "$desktop does not name the icon"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$root/$desktop" || fail "$desktop is not valid"
    fi
else
    fail "$desktop is missing"
fi

# Starts the launcher with the given environment for a few seconds. A program that is still
# running when the time is up is ended by timeout, which then exits with 124.
run() {
    local seconds=$1
    shift
    env -u XDG_DATA_HOME QT_QPA_PLATFORM=offscreen "$@" \
        timeout "$seconds" "$root/usr/bin/varnek-praxo" >"$scratch/run.log" 2>&1
    local rc=$?
    if [ $rc -ne 124 ]; then
        cat "$scratch/run.log"
        fail "the program ended by itself (exit $rc) instead of running until stopped"
    fi
}
# The first start writes nothing until the program is closed.
expect_empty_folder() {
    if [ ! -d "$1" ]; then
        fail "the launcher did not make $1"
    elif [ -n "$(ls -A "$1")" ]; then
        fail "the first start wrote into $1: $(ls -A "$1" | tr '\n' ' ')"
    fi
}

mkdir -p "$scratch/home"
run 5 HOME="$scratch/home"
expect_empty_folder "$scratch/home/.local/share/varnek-praxo"

mkdir -p "$scratch/xdg"
run 3 HOME="$scratch/home" XDG_DATA_HOME="$scratch/xdg"
expect_empty_folder "$scratch/xdg/varnek-praxo"

if [ $failures -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "package checks passed"
