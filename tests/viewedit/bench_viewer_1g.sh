#!/bin/sh
# Views a generated 1 GiB text file with the internal viewer (-v, first screen,
# then End) and with less (first screen, then G) and prints the times, the peak
# resident memory of each and the ratios. Then opens a generated 50 MiB file in
# the internal editor (-e, until the first screen stands) and in vi (-es +q),
# and prints the load times, the peak resident memory and the ratios. Asserts
# nothing.
#   tests/viewedit/bench_viewer_1g.sh [path to qv_test_viewedit]
# QV_BENCH_ONLY=editor runs the editor's part alone.
# The test build that ./test makes carries the sanitizers; a build without
# them (cmake -DQV_TESTS=ON, no QV_SANITIZE) gives the figures users see.
set -e
here=$(cd "$(dirname "$0")/../.." && pwd)
exe=${1:-$here/build/test/tests/qv_test_viewedit}
dir=${TMPDIR:-/tmp}/qv-bench-viewer
mkdir -p "$dir"
file=$dir/large.txt

if [ "${QV_BENCH_ONLY:-}" != editor ]; then
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
fi

# The editor holds the whole file: 50 MiB of 64-byte lines.
edit_file=$dir/edit50.txt
if [ ! -f "$edit_file" ] || [ "$(stat -c %s "$edit_file")" -ne 52428800 ]; then
    awk 'BEGIN { for (i = 0; i < 819200; i++) printf "line %09d %-48s\n", i, "of the generated text" }' >"$edit_file"
fi
out=$(QV_BENCH_EDIT_FILE=$edit_file TZ=UTC QUORVANE_DRIVES='C=/' "$exe" --gtest_also_run_disabled_tests \
      --gtest_filter='EditorE2E.DISABLED_BenchmarkLoad' | grep '^BENCH')
echo "$out"
e_load=$(echo "$out" | sed -n 's/.*load_ms=\([0-9.]*\).*/\1/p')
e_rss=$(echo "$out" | sed -n 's/.*peak_rss_kib=\([0-9]*\).*/\1/p')
/usr/bin/time -f '%e %M' -o "$dir/time.txt" vi -es -u NONE -i NONE -n +q "$edit_file" </dev/null >/dev/null 2>&1 || true
v_load_ms=$(tail -1 "$dir/time.txt" | awk '{printf "%.1f", $1 * 1000}')
v_rss=$(tail -1 "$dir/time.txt" | awk '{print $2}')
echo "BENCH vi load_ms=$v_load_ms peak_rss_kib=$v_rss"
awk -v a="$e_load" -v b="$v_load_ms" -v c="$e_rss" -v d="$v_rss" 'BEGIN {
    printf "ratio quorvane/vi: load %.2f, peak memory %.2f\n", (b > 0 ? a / b : 0), (d > 0 ? c / d : 0) }'
