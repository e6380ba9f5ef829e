#!/bin/sh
# The script benchmark. Prints figures and their ratios; asserts none.
#   tests/script/bench_script_loop.sh [BUILD-DIR] [ROUNDS]
# BUILD-DIR is an optimised build with the tests (default build/bench, made
# here as RelWithDebInfo when missing); ROUNDS defaults to 5.
#
# One million additions in a counted loop: the program with -s under the
# scripted host, from its start to its exit, beside python3 (the same loop
# with while, and the for-in-range form) and awk, started the same way from
# the shell, in alternating rounds. Prints the medians and the ratios
# program / other. Then, since the sanitizers leave it out of the test build,
# runs the end-to-end test of a script that runs out of memory under an
# address-space limit.
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/bench}
rounds=${2:-5}
if [ ! -x "$build/tests/qv_test_script" ] || [ ! -x "$build/bin/quorvane" ]; then
    . "$here/cmake/setup.sh"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_TESTS=ON >/dev/null
    cmake --build "$build" -j "$(qv_jobs)" --target qv_test_script quorvane
fi
build=$(cd "$build" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/qv-script-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

n=1000000
expected=$(awk -v n=$n 'BEGIN { printf "%.0f", n * (n - 1) / 2 }')
printf 's = 0;\nfor (i = 0; i < %d; i++) s += i;\nprintln("sum=", s);\n' $n > "$work/bench.qvs"
printf 's = 0\ni = 0\nwhile i < %d:\n    s += i\n    i += 1\nprint("sum=%%d" %% s)\n' $n > "$work/while.py"
printf 's = 0\nfor i in range(%d):\n    s += i\nprint("sum=%%d" %% s)\n' $n > "$work/range.py"
printf 'BEGIN { s = 0; for (i = 0; i < %d; i++) s += i; printf "sum=%%.0f\\n", s }\n' $n > "$work/loop.awk"

now() { date +%s.%N; }
span() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
# Runs a command, checks it printed the sum, appends its seconds to a file.
timed() {
    file=$1
    shift
    t0=$(now)
    out=$("$@")
    t1=$(now)
    [ "$out" = "sum=$expected" ] || { echo "$*: printed '$out', not sum=$expected" >&2; exit 1; }
    span "$t0" "$t1" >> "$work/$file"
    echo >> "$work/$file"
}

round=1
while [ "$round" -le "$rounds" ]; do
    (cd "$build" && QV_BENCH_SCRIPT="$work/bench.qvs" QV_BENCH_EXPECT="sum=$expected" \
        sh "$here/cmake/with-test-env.sh" "$here" "$build" tests/qv_test_script --gtest_also_run_disabled_tests \
        --gtest_filter='ScriptBenchmark.DISABLED_RunWithTheOption') > "$work/run.log" 2>&1 ||
        { cat "$work/run.log" >&2; exit 1; }
    awk '$1 == "quorvane" { print $2 }' "$work/run.log" >> "$work/quorvane"
    timed python-while python3 "$work/while.py"
    timed python-range python3 "$work/range.py"
    timed awk awk -f "$work/loop.awk"
    round=$((round + 1))
done

median() { sort -n "$work/$1" | awk 'NF { v[++n] = $1 } END { print v[int((n + 1) / 2)] }'; }
q=$(median quorvane)
echo "one million additions in a loop, medians of $rounds rounds (seconds, start to exit):"
for tool in python-while python-range awk; do
    t=$(median $tool)
    awk -v name="$tool" -v q="$q" -v t="$t" 'BEGIN {
        printf "quorvane -s %7.3f   %-13s %7.3f   ratio %.2f\n", q, name, t, (t > 0 ? q / t : 0) }'
done

echo "a script that grows a map under a 256 MiB address-space limit:"
(cd "$build" && sh "$here/cmake/with-test-env.sh" "$here" "$build" tests/qv_test_script \
    --gtest_filter='ScriptE2E.AScriptThatRunsOutOfMemoryEndsWithAnErrorAndTheProgramGoesOn') > "$work/oom.log" 2>&1 ||
    true
grep -a -E '^\[ +(OK|FAILED|SKIPPED) +\] ScriptE2E' "$work/oom.log" | head -1
