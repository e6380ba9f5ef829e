#!/bin/sh
# 10 MB of a child program's output, two ways:
#  - in-process: the terminal emulator on a console whose requests a host
#    thread applies to its screen model, beside cat of the same file through a
#    pseudo-terminal (the test program's own figures);
#  - as a user meets it: `cat FILE` typed on the command line of the program
#    under qvhost in a tmux pane of 200x50, from Enter until the panels and the
#    key bar are back, beside `cat FILE` in a plain tmux pane of the same size
#    until the shell's next line; with the program's resident memory before
#    and after.
# Prints the figures, the medians and the ratios; asserts none.
#   tests/console/bench_terminal_10mb.sh [BUILD-DIR] [ROUNDS]
# BUILD-DIR is an optimised build with the tests (default build/bench,
# configured as RelWithDebInfo and built when missing).
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/bench}
rounds=${2:-3}
case $build in /*) ;; *) build=$PWD/$build ;; esac
if [ ! -x "$build/bin/qvhost" ] || [ ! -x "$build/tests/qv_test_console" ]; then
    . "$here/cmake/setup.sh"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_TESTS=ON >/dev/null
    cmake --build "$build" -j "$(qv_jobs)" --target quorvane qvhost qv_test_console
fi
command -v tmux >/dev/null || { echo "tmux is not installed" >&2; exit 1; }

base=/tmp
[ -d /dev/shm ] && base=/dev/shm
export TMPDIR=$base
work=$(mktemp -d "$base/qv_terminal_bench.XXXXXX")
socket=qvbench-$$
cleanup() {
    tmux -L "$socket" kill-server 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

echo "== in-process: the emulator alone"
TZ=UTC QUORVANE_DRIVES='C=/' "$build/tests/qv_test_console" --gtest_also_run_disabled_tests \
    --gtest_filter='TerminalBenchmark.DISABLED_TenMegabytesOfOutput' | grep -E '^(output|emulator|cat|ratio)'

# 10 MB of text lines of about 80 characters, as a listing or a log gives.
mkdir -p "$work/data" "$work/appdata"
awk 'BEGIN { for (i = 1; size < 10000000; ++i) {
        line = sprintf("%07d  some-file-name-%d.txt  %10d  2026-12-11 14:20  rw-r--r--  the rest of a line", i, i % 977, i * 7919)
        print line; size += length(line) + 1 } }' > "$work/data/out.txt"
lines=$(wc -l < "$work/data/out.txt")
bytes=$(wc -c < "$work/data/out.txt")
printf 'output: %s bytes, %s lines\n' "$bytes" "$lines"

pane() { tmux -L "$socket" capture-pane -p -t 0; }
now() { date +%s.%N; }
# Waits (polling every 20 ms) until the pane does or does not show a text.
wait_pane() {  # shows|hides TEXT
    while :; do
        if pane | grep -qF -- "$2"; then
            [ "$1" = shows ] && return 0
        else
            [ "$1" = hides ] && return 0
        fi
        sleep 0.02
    done
}
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

windows_dir=$(printf 'C:%s' "$work/data" | tr / '\\')
windows_appdata=$(printf 'C:%s' "$work/appdata" | tr / '\\')

qv_round() {
    tmux -L "$socket" kill-server 2>/dev/null || true
    tmux -L "$socket" -f /dev/null new-session -d -x 200 -y 50 \
        "cd '$work/data' && exec env TERM=xterm-256color TZ=UTC QUORVANE_DRIVES=C=/ 'APPDATA=$windows_appdata' '$build/bin/qvhost' -l '$windows_dir' -r '$windows_dir'"
    wait_pane shows 10Quit
    host=$(tmux -L "$socket" display -p -t 0 '#{pane_pid}')
    program=$(ps -o pid= --ppid "$host" | tr -d ' ' | head -n 1)
    before=$(rss_kib "$program")
    tmux -L "$socket" send-keys -t 0 -l 'cat out.txt'
    sleep 0.2
    start=$(now)
    tmux -L "$socket" send-keys -t 0 Enter
    wait_pane hides 10Quit
    wait_pane shows 10Quit
    end=$(now)
    after=$(rss_kib "$program")
    hostAfter=$(rss_kib "$host")
    tmux -L "$socket" kill-server
    echo "$start $end $before $after $hostAfter" | awk '{ printf "%.3f %d %d %d\n", $2 - $1, $3, $4, $5 }'
}

plain_round() {
    tmux -L "$socket" kill-server 2>/dev/null || true
    tmux -L "$socket" -f /dev/null new-session -d -x 200 -y 50 "cd '$work/data' && PS1='$ ' exec sh"
    sleep 0.3
    tmux -L "$socket" send-keys -t 0 -l 'cat out.txt; echo DONE-$((1+1))-MARK'
    sleep 0.2
    start=$(now)
    tmux -L "$socket" send-keys -t 0 Enter
    wait_pane shows DONE-2-MARK
    end=$(now)
    tmux -L "$socket" kill-server
    echo "$start $end" | awk '{ printf "%.3f\n", $2 - $1 }'
}

echo "== as a user meets it: cat of the file typed in a tmux pane of 200x50"
: > "$work/qv"
: > "$work/plain"
r=1
while [ "$r" -le "$rounds" ]; do
    q=$(qv_round)
    p=$(plain_round)
    echo "$q" >> "$work/qv"
    echo "$p" >> "$work/plain"
    set -- $q
    printf 'round %d: quorvane under qvhost %s s (resident %d -> %d MiB, qvhost %d MiB); plain tmux pane %s s\n' \
        "$r" "$1" $(($2 / 1024)) $(($3 / 1024)) $(($4 / 1024)) "$p"
    r=$((r + 1))
done
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
qv=$(cut -d' ' -f1 "$work/qv" | median)
plain=$(median < "$work/plain")
grown=$(awk '{ print ($3 - $2) / 1024 }' "$work/qv" | median)
printf 'median: quorvane %s s, plain tmux pane %s s, ratio %.2f; resident memory grew by %.1f MiB\n' \
    "$qv" "$plain" "$(echo "$qv $plain" | awk '{ print $1 / $2 }')" "$grown"
