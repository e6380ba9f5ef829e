#!/bin/sh
# Views a generated 1 GiB text file with the internal viewer (-v, first screen,
# then End; then F3 on it in the panel, from the key to the first screen) and
# with less (first screen, then G) and prints the times, the peak resident
# memory of each and the ratios. Then presses F4 on a generated 50 MiB
# file in the panel (the program under the scripted host, from the key to the
# editor's first screen) and opens the same file in vi on a pseudo-terminal
# (-c q: loaded, then left), and prints the medians of the load times, the peak
# resident memory and the ratios. Asserts nothing.
#   tests/viewedit/bench_viewer_1g.sh [path to qv_test_viewedit] [rounds]
# QV_BENCH_ONLY=editor runs the editor's part alone; QV_BINARY_DIR=BUILD runs
# the program of another build (the tests' scripted host starts BUILD/bin/quorvane).
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
    q_first=$(echo "$out" | sed -n 's/.* first_screen_ms=\([0-9.]*\).*/\1/p')
    q_f3=$(echo "$out" | sed -n 's/.*f3_first_screen_ms=\([0-9.]*\).*/\1/p')
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
    awk -v a="$q_first" -v b="$l_first_ms" -v c="$q_end" -v d="$l_end_ms" -v e="$q_rss" -v f="$l_rss" -v g="$q_f3" 'BEGIN {
        printf "ratio quorvane/less: first screen %.2f (F3 in the panel %.2f), end %.2f, peak memory %.2f\n",
            (b > 0 ? a / b : 0), (b > 0 ? g / b : 0), (d > 0 ? c / d : 0), (f > 0 ? e / f : 0) }'
fi

# The editor holds the whole file: 50 MiB of 64-byte lines.
edit_file=$dir/edit50.txt
if [ ! -f "$edit_file" ] || [ "$(stat -c %s "$edit_file")" -ne 52428800 ]; then
    awk 'BEGIN { for (i = 0; i < 819200; i++) printf "line %09d %-48s\n", i, "of the generated text" }' >"$edit_file"
fi
rounds=${2:-5}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
: >"$dir/q_load.txt"; : >"$dir/q_rss.txt"; : >"$dir/v_load.txt"; : >"$dir/v_rss.txt"
i=0
while [ $i -lt "$rounds" ]; do
    out=$(QV_BENCH_EDIT_FILE=$edit_file TZ=UTC QUORVANE_DRIVES='C=/' "$exe" --gtest_also_run_disabled_tests \
          --gtest_filter='EditorE2E.DISABLED_BenchmarkLoad' | grep '^BENCH')
    echo "$out" | sed -n 's/.*load_ms=\([0-9.]*\).*/\1/p' >>"$dir/q_load.txt"
    echo "$out" | sed -n 's/.*peak_rss_kib=\([0-9]*\).*/\1/p' >>"$dir/q_rss.txt"
    # vi on a pseudo-terminal of the same size, measured by GNU time.
    TERM=xterm /usr/bin/time -f '%e %M' -o "$dir/time.txt" \
        script -qec "stty cols 200 rows 50; vi -u NONE -i NONE -n -c q '$edit_file'" /dev/null \
        </dev/null >/dev/null 2>&1 || true
    tail -1 "$dir/time.txt" | awk '{printf "%.1f\n", $1 * 1000}' >>"$dir/v_load.txt"
    tail -1 "$dir/time.txt" | awk '{print $2}' >>"$dir/v_rss.txt"
    i=$((i + 1))
done
e_load=$(median <"$dir/q_load.txt")
e_rss=$(median <"$dir/q_rss.txt")
v_load_ms=$(median <"$dir/v_load.txt")
v_rss=$(median <"$dir/v_rss.txt")
echo "BENCH quorvane F4 load_ms=$e_load peak_rss_kib=$e_rss (median of $rounds)"
echo "BENCH vi -c q load_ms=$v_load_ms peak_rss_kib=$v_rss (median of $rounds)"
awk -v a="$e_load" -v b="$v_load_ms" -v c="$e_rss" -v d="$v_rss" 'BEGIN {
    printf "ratio quorvane/vi: load %.2f, peak memory %.2f\n", (b > 0 ? a / b : 0), (d > 0 ? c / d : 0) }'
