#!/bin/sh
# Views a generated 1 GiB text file with the internal viewer (-v, first screen,
# then End) and with less (first screen, then G) and prints the times, the peak
# resident memory of each and the ratios. Asserts nothing.
#   tests/viewedit/bench_viewer_1g.sh [path to qv_test_viewedit]
# The test build that ./test makes carries the sanitizers; a build without
# them (cmake -DQV_TESTS=ON, no QV_SANITIZE) gives the figures users see.
set -e
here=$(cd "$(dirname "$0")/../.." && pwd)
exe=${1:-$here/build/test/tests/qv_test_viewedit}
dir=${TMPDIR:-/tmp}/qv-bench-viewer
mkdir -p "$dir"
file=$dir/large.txt

out=$(QV_BENCH_FILE=$file TZ=UTC QUORVANE_DRIVES='C=/' "$exe" --gtest_also_run_disabled_tests \
      --gtest_filter='ViewerMemoryTest.DISABLED_Benchmark1GiB' | grep '^BENCH')
echo "$out"
q_first=$(echo "$out" | sed -n 's/.*first_screen_ms=\([0-9.]*\).*/\1/p')
q_end=$(echo "$out" | sed -n 's/.*end_ms=\([0-9.]*\).*/\1/p')
q_rss=$(echo "$out" | sed -n 's/.*peak_rss_kib=\([0-9]*\).*/\1/p')

# less on a pseudo-terminal: the first screen (quit at once), then the end
# (+G), without line numbers. GNU time gives the wall time and peak memory.
run_less() {
    /usr/bin/time -f '%e %M' -o "$dir/time.txt" \
        script -qec "less -n $1 '$file'" /dev/null </dev/null >/dev/null 2>&1 || true
    cat "$dir/time.txt"
}
export LESS= TERM=xterm
l_first=$(run_less "+q" | tail -1)
l_end=$(run_less "+Gq" | tail -1)
l_first_ms=$(echo "$l_first" | awk '{printf "%.1f", $1 * 1000}')
l_end_ms=$(echo "$l_end" | awk '{printf "%.1f", $1 * 1000}')
l_rss=$(echo "$l_end" | awk '{print $2}')
echo "BENCH less first_screen_ms=$l_first_ms end_ms=$l_end_ms peak_rss_kib=$l_rss"
awk -v a="$q_first" -v b="$l_first_ms" -v c="$q_end" -v d="$l_end_ms" -v e="$q_rss" -v f="$l_rss" 'BEGIN {
    printf "ratio quorvane/less: first screen %.2f, end %.2f, peak memory %.2f\n",
        (b > 0 ? a / b : 0), (d > 0 ? c / d : 0), (f > 0 ? e / f : 0) }'
