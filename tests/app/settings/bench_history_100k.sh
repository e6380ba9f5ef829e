#!/bin/sh
# Times loading a history file of 100,000 lines (within the limits, and cut to
# 500 entries), next to `sort -u` on the same number of lines. Prints the
# times and their ratio; asserts none.
#   tests/app/settings/bench_history_100k.sh [path to qv_test_app_settings]
here=$(cd "$(dirname "$0")/../../.." && pwd)
# By default the test build that ./test makes.
exe=${1:-$here/build/test/tests/qv_test_app_settings}
out=$(TZ=UTC QUORVANE_DRIVES='C=/' "$exe" --gtest_also_run_disabled_tests \
    --gtest_filter='HistoryFileTest.DISABLED_Load100000Lines' 2>&1)
echo "$out" | grep '^history load'
ours=$(echo "$out" | sed -n 's/^history load.*limits 100000: \([0-9.]*\) s.*/\1/p')
data=$(mktemp)
awk 'BEGIN { for (i = 0; i < 100000; i++) if (i % 5 < 3) print "cmd " (i * 7) % 20000; else print "mask " i % 1000 }' >"$data"
start=$(date +%s.%N)
sort -u "$data" >/dev/null
end=$(date +%s.%N)
rm -f "$data"
tool=$(echo "$end - $start" | bc -l)
printf 'sort -u, 100000 lines: %.3f s\n' "$tool"
[ -n "$ours" ] && printf 'ratio (history load / sort -u): %.1f\n' "$(echo "$ours / $tool" | bc -l)"
