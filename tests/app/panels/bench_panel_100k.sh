#!/bin/sh
# The panel benchmark. Prints figures and their ratio to find; asserts none.
#   tests/app/panels/bench_panel_100k.sh [BUILD-DIR] [RUNS]
# BUILD-DIR is an optimised build with the tests (default build/bench, made
# here as RelWithDebInfo when missing); RUNS the rounds of the launch figures
# (default 15).
#
# 1. Reading, sorting in every mode and formatting 100,000 entries in-process.
# 2. The program under the scripted host at 200x50, both panels on one folder,
#    in alternating rounds: launch until both panels are drawn for 10 and for
#    100,000 files, Ctrl-R on 100,000, the bytes and write calls the program
#    sent for the first screen, its peak memory; and
#    `find DIR -maxdepth 1 -printf '%s %T@ %p\n'` on the same folder.
#    Medians of each, and the ratio to find.
set -eu
here=$(cd "$(dirname "$0")/../../.." && pwd)
build=${1:-$here/build/bench}
runs=${2:-15}
if [ ! -x "$build/bin/qv_panel_launch_bench" ]; then
    . "$here/cmake/setup.sh"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_TESTS=ON >/dev/null
    cmake --build "$build" -j "$(qv_jobs)" --target qv_panel_launch_bench qv_test_app_panels
fi
# tmpfs keeps the file creation from dominating the run.
base=${TMPDIR:-/tmp}
[ -d /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/qv-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

echo "== read, sort and format in-process"
TZ=UTC QUORVANE_DRIVES='C=/' TMPDIR=$work "$build/tests/qv_test_app_panels" --gtest_also_run_disabled_tests \
    --gtest_filter='PanelBenchmark.DISABLED_ReadSortAndFormat100000Files' | grep -v '^\[' || true

echo "== launch and re-read under the scripted host ($runs rounds)"
mkdir "$work/small" "$work/large"
(cd "$work/small" && i=1 && while [ $i -le 10 ]; do : > "bench_$i"; i=$((i + 1)); done)
(cd "$work/large" && seq -f 'bench_%06g' 1 100000 | xargs touch)

now_us() { date +%s%6N; }
driver=$build/bin/qv_panel_launch_bench
: > "$work/figures"
i=0
while [ $i -lt "$runs" ]; do
    # One round of each, alternating, so that load on the machine falls on all alike.
    "$driver" "$work/small" bench_ 10 | sed 's/^/small /' >> "$work/figures"
    "$driver" "$work/large" bench_ 100000 --reread | sed 's/^/large /' >> "$work/figures"
    t0=$(now_us)
    find "$work/large" -maxdepth 1 -printf '%s %T@ %p\n' > /dev/null
    t1=$(now_us)
    echo "find find_ms $(( (t1 - t0) / 1000 )).$(( (t1 - t0) % 1000 / 100 ))" >> "$work/figures"
    i=$((i + 1))
done

# median KIND FIELD: the median of one field over the rounds.
median() {
    awk -v kind="$1" -v field="$2" '$1 == kind { for (i = 2; i < NF; i += 2) if ($i == field) print $(i + 1) }' \
        "$work/figures" | sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "?"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
find_ms=$(median find find_ms)
large_ms=$(median large launch_ms)
reread_ms=$(median large reread_ms)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "?" }'; }
echo "find -printf, 100,000 files:          $find_ms ms"
echo "launch, both panels, 100,000 files:   $large_ms ms  ($(ratio "$large_ms" "$find_ms") x find)"
echo "Ctrl-R, 100,000 files:                $reread_ms ms  ($(ratio "$reread_ms" "$find_ms") x find)"
echo "launch, both panels, 10 files:        $(median small launch_ms) ms"
echo "first screen, 10 files:               $(median small bytes) bytes in $(median small writes) writes"
echo "first screen, 100,000 files:          $(median large bytes) bytes in $(median large writes) writes"
echo "peak memory, 100,000 files:           $(median large peak_kb) KiB"
