#!/usr/bin/env bash
# Sets up and runs every test twice: a Release build with warnings as errors, and a build
# with AddressSanitizer and UndefinedBehaviorSanitizer, both on the offscreen platform; then
# runs each fuzz target for a short time.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export QT_QPA_PLATFORM=offscreen
# Tests that need a tool this script installs fail without it here rather than skip.
export PRAXO_REQUIRE_TOOLS=1

# pdftotext reads back the text of the PDFs the invoice tests write.
"$root/scripts/install-packages.sh" poppler-utils

echo "== Release build (-Werror)"
"$root/scripts/setup.sh" "$root/build/test-release" -DCMAKE_BUILD_TYPE=Release -DPRAXO_WERROR=ON
ctest --test-dir "$root/build/test-release" --output-on-failure

echo "== Sanitizer build (address, undefined)"
"$root/scripts/setup.sh" "$root/build/test-asan" -DCMAKE_BUILD_TYPE=Debug -DPRAXO_SANITIZE=ON \
    -DPRAXO_BUILD_BENCH=OFF
ctest --test-dir "$root/build/test-asan" --output-on-failure

echo "== Fuzz targets (clang, libFuzzer with address and undefined): 10 s each"
"$root/fuzz/run.sh" 10
