#!/usr/bin/env bash
# Sets up, builds and starts VARNEK PRAXO. The home folder is data/ of the checkout
# unless another folder is given.
# Usage: scripts/run.sh [home-folder]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
home=${1:-"$root/data"}
"$root/scripts/setup.sh" "$root/build/release" -DCMAKE_BUILD_TYPE=Release \
    -DPRAXO_BUILD_TESTS=OFF -DPRAXO_BUILD_BENCH=OFF
mkdir -p "$home"
cd "$home"
exec "$root/build/release/praxo"
