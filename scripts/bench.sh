#!/usr/bin/env bash
# Builds the benchmarks (Release, build/bench), runs every one of bench/bench_*.cpp and writes
# docs/performance.md: one table per benchmark with each figure, its baseline measured in the
# same run and their ratio, and the machine it ran on.
# Usage: scripts/bench.sh [output-file]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/bench
out=${1:-"$root/docs/performance.md"}

"$root/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DPRAXO_BUILD_TESTS=OFF \
    -DPRAXO_BUILD_BENCH=ON

package_version() {
    dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo unknown
}

# The source's leading comment, which says what is measured and against which baseline.
description() {
    sed -n '/^\/\//!q; s|^// \{0,1\}||p' "$1"
}

# Rows printed as "<what> <figure> ms <baseline> ms <ratio>" (bench/benchutil.h) become table
# rows; so do rows that name their baseline and target:
# "<what> <figure> ms <baseline name> <baseline> ms ratio <ratio> (target ...)".
table() {
    awk '
        function trim(s) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s }
        match($0, /[ \t]+[0-9.]+ ms[ \t]+[0-9.]+ ms[ \t]+[0-9.]+[ \t]*$/) {
            what = trim(substr($0, 1, RSTART - 1))
            split(trim(substr($0, RSTART)), n, /[ \t]+/)
            printf "| %s | %s | %s | %s |\n", what, n[1], n[3], n[5]
            rows++
            next
        }
        match($0, /[ \t]+[0-9.]+ ms[ \t]+/) {
            what = trim(substr($0, 1, RSTART - 1))
            rest = substr($0, RSTART + RLENGTH)
            figure = trim(substr($0, RSTART, RLENGTH)); sub(/ ms$/, "", figure)
            if (!match(rest, /[ \t]+[0-9.]+ ms[ \t]+ratio[ \t]+[0-9.]+/))
                next
            against = trim(substr(rest, 1, RSTART - 1))
            split(trim(substr(rest, RSTART, RLENGTH)), n, /[ \t]+/)
            note = trim(substr(rest, RSTART + RLENGTH))
            printf "| %s, against %s %s | %s | %s | %s |\n", what, against, note, figure, n[1], n[4]
            rows++
        }
        END { exit rows == 0 }'
}

cpu=$(grep -m1 "model name" /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
memory=$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
os=$(. /etc/os-release && echo "$PRETTY_NAME")
tmp=$(mktemp)
trap 'rm -f "$tmp" "$tmp.out"' EXIT
failed=0

{
    echo "# Performance"
    echo
    echo "Written by \`scripts/bench.sh\`, which builds the benchmarks of \`bench/\` in Release and"
    echo "runs each of them once. Every figure is set beside a baseline measured in the same run on"
    echo "the same data, usually the bare SQLite work that the program's figure cannot do without;"
    echo "the ratio is figure / baseline, so 1.0 means no cost above the baseline. Times are"
    echo "medians of several runs, in milliseconds. Compare ratios rather than times between"
    echo "machines; on a shared or busy machine the times spread more."
    echo
    echo "## Machine"
    echo
    echo "| | |"
    echo "|---|---|"
    echo "| CPU | $cpu |"
    echo "| cores | $(nproc) |"
    echo "| memory | $memory |"
    echo "| OS | $os, Linux $(uname -r) |"
    echo "| compiler | $(g++ --version | head -n1) |"
    echo "| Qt, SQLite | $(package_version libqt6core6), $(package_version libsqlite3-0) |"
    echo "| load average at the start | $(cut -d' ' -f1-3 /proc/loadavg) |"
    echo "| date | $(date -u '+%Y-%m-%d %H:%M UTC') |"
} >"$tmp"

for source in "$root"/bench/bench_*.cpp; do
    name=$(basename "$source" .cpp)
    echo "== $name"
    {
        echo
        echo "## $name"
        echo
        description "$source"
        echo
    } >>"$tmp"
    if (cd "$build" && QT_QPA_PLATFORM=offscreen "$build/bench/$name") >"$tmp.out" 2>&1; then
        cat "$tmp.out"
        {
            echo "| measured | figure (ms) | baseline (ms) | ratio |"
            echo "|---|---:|---:|---:|"
        } >>"$tmp"
        if ! table <"$tmp.out" >>"$tmp"; then
            echo "(printed no result rows)" >>"$tmp"
            failed=1
        fi
    else
        cat "$tmp.out"
        echo "Did not run to its end; its output:" >>"$tmp"
        { echo; echo '```'; cat "$tmp.out"; echo '```'; } >>"$tmp"
        failed=1
    fi
done

mkdir -p "$(dirname "$out")"
cp "$tmp" "$out"
echo "Written: $out"
exit $failed
