#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (installed when missing) and runs each one for the
# given number of seconds, starting from its seed corpus in fuzz/corpus/<target>/. Inputs found
# on the way go to a scratch folder, never into the repository. Stops at the first failure and
# names the input that caused it.
# Usage: fuzz/run.sh [seconds per target, default 10] [target...]
# PRAXO_FUZZ_BUILD names the build folder (default build/test-fuzz).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-10}
shift || true
build=${PRAXO_FUZZ_BUILD:-"$root/build/test-fuzz"}

packages=(clang libclang-rt-14-dev cmake ninja-build qt6-base-dev qt6-svg-dev libsqlite3-dev libzip-dev)
"$root/scripts/install-packages.sh" "${packages[@]}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DPRAXO_FUZZ=ON -DPRAXO_WERROR=ON \
    -DPRAXO_BUILD_TESTS=OFF -DPRAXO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target praxo_fuzz --parallel 2

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in "$root"/fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Qt keeps some memory for the whole run; a leak check per input would only report that.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in "${targets[@]}"; do
    mkdir -p "$scratch/$target"
    log="$scratch/$target.log"
    if ! nice "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$scratch/$target-" "$scratch/$target" "$root/fuzz/corpus/$target" \
        >"$log" 2>&1; then
        tail -n 40 "$log"
        for found in "$scratch/$target"-*; do
            [ -e "$found" ] || continue
            echo "Failing input of $target (kept as $build/$(basename "$found")):"
            od -A d -c "$found" | head -n 20
            cp "$found" "$build/"
        done
        echo "fuzz: $target FAILED"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $target ${runs:-?} runs in ${seconds} s, corpus $(ls "$scratch/$target" | wc -l) new inputs"
done
echo "fuzz: ${#targets[@]} passed, 0 failed"
