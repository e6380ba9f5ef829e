#!/bin/sh
# The directory-tree benchmark. Prints figures and their ratio to find;
# asserts none.
#   tests/app/panels/bench_tree_100k.sh [BUILD-DIR] [RUNS]
# BUILD-DIR is an optimised build with the tests (default build/bench, made
# here as RelWithDebInfo when missing); RUNS the rounds (default 5).
#
# A drive holding 100,000 directories (100 folders of 999 each): the tree's
# rescan (which saves the tree), a save and a load of its tree data file in
# the test program, and `find DIR -type d` on the same folder, in alternating
# rounds. Medians of each, and the ratio of the rescan to find.
set -eu
here=$(cd "$(dirname "$0")/../../.." && pwd)
build=${1:-$here/build/bench}
runs=${2:-5}
if [ ! -x "$build/tests/qv_test_app_panels" ]; then
    . "$here/cmake/setup.sh"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_TESTS=ON >/dev/null
    cmake --build "$build" -j "$(qv_jobs)" --target qv_test_app_panels
fi
# tmpfs keeps the disk out of the figures.
base=${TMPDIR:-/tmp}
[ -d /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/qv-treebench-XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
mkdir "$work/tree" "$work/data"
i=1
while [ $i -le 100 ]; do
    dir=$(printf '%s/tree/t%03d' "$work" $i)
    mkdir "$dir"
    (cd "$dir" && seq -f 'd%03g' 1 999 | xargs mkdir)
    i=$((i + 1))
done

now_us() { date +%s%6N; }
: > "$work/figures"
i=0
while [ $i -lt "$runs" ]; do
    TZ=UTC QUORVANE_DRIVES="C=/;S=$work/data;B=$work/tree" QV_TREE_BENCH_DRIVE=B TMPDIR=$work/data \
        "$build/tests/qv_test_app_panels" --gtest_also_run_disabled_tests \
        --gtest_filter='TreeBenchmark.DISABLED_RescanSaveAndLoadALargeTree' |
        grep -E '^(rescan_ms|save_ms|load_ms|directories) ' >> "$work/figures"
    t0=$(now_us)
    find "$work/tree" -type d > /dev/null
    t1=$(now_us)
    echo "find_ms $(( (t1 - t0) / 1000 )).$(( (t1 - t0) % 1000 / 100 ))" >> "$work/figures"
    i=$((i + 1))
done

median() {
    awk -v field="$1" '$1 == field { print $2 }' "$work/figures" | sort -g |
        awk '{ v[NR] = $1 } END { if (NR == 0) print "?"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
rescan=$(median rescan_ms)
find_ms=$(median find_ms)
echo "directories scanned: $(median directories)"
echo "rescan (with its save): $rescan ms"
echo "save:                   $(median save_ms) ms"
echo "load:                   $(median load_ms) ms"
echo "find -type d:           $find_ms ms"
awk -v a="$rescan" -v b="$find_ms" 'BEGIN { if (b > 0) printf "rescan / find: %.2f\n", a / b }'
