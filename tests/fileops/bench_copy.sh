#!/bin/sh
# The copy benchmark. Prints figures and their ratio to cp; asserts none.
#   tests/fileops/bench_copy.sh [BUILD-DIR] [BIG-MB] [SMALL-FILES] [ROUNDS]
# BUILD-DIR is an optimised build with the tests (default build/bench, made
# here as RelWithDebInfo when missing). The data (one file of BIG-MB MiB,
# default 1024, and SMALL-FILES files of 1 to 16 KiB, default 10000) lies
# under TMPDIR (default /tmp); both copies read the same data and write to
# fresh folders beside it.
#
# Each of ROUNDS rounds (default 3) copies both with F5 in the program under
# the scripted host, timed as a user meets it (from the Enter of the copy
# dialog to the final screen: the copy window gone and the other panel drawn
# again with the copy), then with `cp` of the big file and `cp -r` of the
# small files. Printed: the medians, seconds and MB/s each, and the ratio
# program / cp.
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/bench}
big_mb=${2:-1024}
small=${3:-10000}
rounds=${4:-3}
if [ ! -x "$build/tests/qv_test_fileops" ] || [ ! -x "$build/bin/quorvane" ]; then
    . "$here/cmake/setup.sh"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_TESTS=ON >/dev/null
    cmake --build "$build" -j "$(qv_jobs)" --target qv_test_fileops quorvane
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/qv-copy-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
mkdir -p "$work/source/many"

head -c $((big_mb * 1024 * 1024)) /dev/urandom > "$work/source/big.bin"
awk -v n="$small" 'BEGIN { srand(7); for (i = 1; i <= n; i++) print i, 1024 + int(rand() * 15 * 1024) }' |
    while read -r i size; do head -c "$size" /dev/zero > "$work/source/many/f$i"; done
many_bytes=$(du -sb "$work/source/many" | cut -f1)
big_bytes=$(stat -c %s "$work/source/big.bin")

now() { date +%s.%N; }
span() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
: > "$work/figures"
round=1
while [ "$round" -le "$rounds" ]; do
    rm -rf "$work/program" "$work/cp"
    mkdir -p "$work/program" "$work/cp"
    sync
    TZ=UTC QV_BENCH_SOURCE="$work/source" QV_BENCH_TARGET="$work/program" QV_BENCH_FOLDERS=big.bin,many \
        "$build/tests/qv_test_fileops" --gtest_also_run_disabled_tests \
        --gtest_filter='CopyBenchmark.DISABLED_F5OfEachFolder' | grep '^quorvane' >> "$work/figures"
    sync
    t0=$(now); cp "$work/source/big.bin" "$work/cp/big.bin"; t1=$(now)
    sync
    t2=$(now); cp -r "$work/source/many" "$work/cp/many"; t3=$(now)
    echo "cp big.bin $(span "$t0" "$t1")" >> "$work/figures"
    echo "cp many $(span "$t2" "$t3")" >> "$work/figures"
    round=$((round + 1))
done

# The median of one program's figures for one folder.
median() {
    awk -v who="$1" -v folder="$2" '$1 == who && $2 == folder { print $3 }' "$work/figures" | sort -n |
        awk '{ v[NR] = $1 } END { if (NR == 0) print 0; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
report() {
    # report NAME BYTES PROGRAM_SECONDS CP_SECONDS
    awk -v name="$1" -v bytes="$2" -v p="$3" -v c="$4" 'BEGIN {
        mb = bytes / 1048576
        printf "%-26s quorvane %8.3f s %9.1f MB/s   cp %8.3f s %9.1f MB/s   ratio %.2f\n",
               name, p, (p > 0 ? mb / p : 0), c, (c > 0 ? mb / c : 0), (c > 0 ? p / c : 0) }'
}
echo "medians of $rounds rounds"
report "one file of $big_mb MiB" "$big_bytes" "$(median quorvane big.bin)" "$(median cp big.bin)"
report "$small files of 1-16 KiB" "$many_bytes" "$(median quorvane many)" "$(median cp many)"
