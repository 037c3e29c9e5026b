#!/usr/bin/env bash
# Installs the Debian packages the build needs when they are missing, then configures and builds.
# Usage: scripts/setup.sh <build-dir> [extra cmake arguments...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$root/build"}
shift || true

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 libsqlite3-dev libzip-dev)
"$root/scripts/install-packages.sh" "${packages[@]}"

cmake -S "$root" -B "$build" -G Ninja "$@"
cmake --build "$build" --parallel "$(nproc)"
