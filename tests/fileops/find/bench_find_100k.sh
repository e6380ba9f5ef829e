#!/bin/sh
# The file find benchmark. Prints figures and their ratios; asserts none.
#   tests/fileops/find/bench_find_100k.sh [BUILD-DIR] [FILES]
# BUILD-DIR is an optimised build (default build/bench, made here as
# RelWithDebInfo when the driver is missing). FILES (default 100000) small
# text files lie in folders of 100 under TMPDIR (default /tmp); one in ten is
# named *.log and one in a hundred holds the word "needle".
#
# The find engine without a window (DoFileFind, as scripts run it) by name
# ("*.log") beside `find -name '*.log'`, and by content (every file, "needle",
# case-sensitive) beside `grep -rl needle`, on the same tree: the median of
# three rounds each, the counts found, and the ratio engine / tool. Then the
# same two searches as a user meets them: the program under the scripted
# host at 200x50, from Alt+F7 to the "Search Complete:" summary, in rounds
# that alternate with the tool, and the ratio program / tool.
set -eu
here=$(cd "$(dirname "$0")/../../.." && pwd)
build=${1:-$here/build/bench}
files=${2:-100000}
if [ ! -x "$build/bin/qv_find_bench" ] || [ ! -x "$build/bin/qv_find_window_bench" ]; then
    . "$here/cmake/setup.sh"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_TESTS=ON >/dev/null
    cmake --build "$build" -j "$(qv_jobs)" --target qv_find_bench qv_find_window_bench
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/qv-find-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
tree="$work/tree"
mkdir -p "$tree"

awk -v n="$files" -v root="$tree" 'BEGIN {
    for (i = 0; i < n; i++) {
        dir = root "/d" int(i / 100)
        if (i % 100 == 0) system("mkdir -p " dir)
        name = dir "/f" i (i % 10 == 0 ? ".log" : ".txt")
        printf "line one of file %d\nsome words to read through\n%s\nthe end\n", i,
               (i % 100 == 7 ? "a needle in the hay" : "only hay here") > name
        close(name)
    }
}'
sync

now() { date +%s.%N; }
span_ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", (b - a) * 1000 }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
engine() { QUORVANE_DRIVES='C=/' TZ=UTC "$build/bin/qv_find_bench" "$@"; }

run_engine() {
    # run_engine MASKS [TEXT]: "<median ms> <found>"
    for r in 1 2 3; do engine "$tree" "$@"; done |
        awk '{ print $2, $4 }' | sort -n | awk '{ v[NR] = $1; c = $2 } END { print v[2], c }'
}
run_tool() {
    # run_tool COMMAND...: "<median ms> <lines>"
    for r in 1 2 3; do
        t0=$(now); count=$("$@" | wc -l); t1=$(now)
        echo "$(span_ms "$t0" "$t1") $count"
    done | sort -n | awk '{ v[NR] = $1; c = $2 } END { print v[2], c }'
}
window() { QUORVANE_DRIVES='C=/' TZ=UTC "$build/bin/qv_find_window_bench" "$tree" "$@"; }
one_tool() {
    # one_tool COMMAND...: "<ms> <lines>"
    t0=$(now); count=$("$@" | wc -l); t1=$(now)
    echo "$(span_ms "$t0" "$t1") $count"
}
run_window() {
    # run_window MASKS TEXT COMMAND...: three rounds, the program and the tool
    # in turn; "<program median ms> <found> <tool median ms> <lines>"
    masks=$1 text=$2
    shift 2
    for r in 1 2 3; do
        echo "$(window "$masks" "$text" | awk '{ print $2, $4 }') $(one_tool "$@")"
    done > "$work/rounds"
    echo "$(cut -d' ' -f1,2 "$work/rounds" | sort -n | sed -n 2p) $(cut -d' ' -f3,4 "$work/rounds" | sort -n | sed -n 2p)"
}
report() {
    # report NAME ENGINE_FIGURES TOOL_NAME TOOL_FIGURES [WHO]
    set -- "$1" $2 "$3" $4 "${5:-DoFileFind}"
    awk -v name="$1" -v e="$2" -v ec="$3" -v tool="$4" -v t="$5" -v tc="$6" -v who="$7" 'BEGIN {
        printf "%-22s %-10s %9.1f ms (%d found)   %-16s %9.1f ms (%d found)   ratio %.2f\n",
               name, who, e, ec, tool, t, tc, (t > 0 ? e / t : 0) }'
}

by_name=$(run_engine '*.log')
find_name=$(run_tool find "$tree" -name '*.log')
by_content=$(run_engine '*' needle)
grep_content=$(run_tool grep -rl needle "$tree")
echo "$files files in $((files / 100)) folders"
report "by name (*.log)" "$by_name" "find -name" "$find_name"
report "by content (needle)" "$by_content" "grep -rl" "$grep_content"

# The program: found count and median, then the tool's, from rounds in turn.
window_name=$(run_window '*.log' '' find "$tree" -name '*.log')
window_content=$(run_window '*' needle grep -rl needle "$tree")
report "Alt+F7 by name" "$(echo "$window_name" | cut -d' ' -f1,2)" "find -name" \
    "$(echo "$window_name" | cut -d' ' -f3,4)" quorvane
report "Alt+F7 by content" "$(echo "$window_content" | cut -d' ' -f1,2)" "grep -rl" \
    "$(echo "$window_content" | cut -d' ' -f3,4)" quorvane
