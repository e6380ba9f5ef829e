#!/bin/sh
# The archive listing benchmark. Prints figures and their ratios; asserts none.
#   tests/archive/bench_archive_listing.sh [BUILD-DIR] [RUNS]
# BUILD-DIR is an optimised build with the tests (default build/bench, made
# here as RelWithDebInfo when missing); RUNS the rounds (default 7).
#
# Makes a tree of 10,000 files in 100 folders, packs it as a zip (zip), a 7z
# (7z) and a tar.gz (tar), then, in alternating rounds:
# - in-process: opens each archive and lists its root with the program's
#   readers (the time of the open and the listing), beside `unzip -l`,
#   `7z l` and `tar tzf` (whole runs of those programs);
# - end to end, as a user meets it: the program under the scripted host,
#   Ctrl+PgDn on each archive until its root is listed, and F5 of one member
#   (dir_0/file_00N.txt) from the Enter until the file is out and the panels
#   are drawn again, beside `unzip -l` for the listing and the archiver alone
#   extracting that member (`unzip`, `7z x`, `tar xzf`).
# Prints the medians and the ratios.
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/bench}
runs=${2:-7}
if [ ! -x "$build/bin/qv_archive_list_bench" ] || [ ! -x "$build/tests/qv_test_archive" ] ||
    [ ! -x "$build/bin/quorvane" ]; then
    . "$here/cmake/setup.sh"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_TESTS=ON >/dev/null
    cmake --build "$build" -j 3 --target qv_archive_list_bench qv_test_archive quorvane
fi
for tool in zip unzip 7z tar; do
    command -v $tool >/dev/null || { echo "needs $tool"; exit 1; }
done
base=${TMPDIR:-/tmp}
[ -d /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/qv-archive-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

echo "== making 10,000 files and three archives of them"
mkdir "$work/tree"
(cd "$work/tree" && d=0 && while [ $d -lt 100 ]; do
    mkdir "dir_$d" && (cd "dir_$d" && seq -f "file_%03g.txt" 0 99 | xargs -n 100 sh -c 'for f; do echo "$f" > "$f"; done' sh)
    d=$((d + 1))
done)
(cd "$work/tree" && zip -q -r ../big.zip . && 7z a -bd ../big.7z . >/dev/null && tar czf ../big.tar.gz .)

now_us() { date +%s%6N; }
# tool KIND COMMAND...: one timed run of a listing program.
tool() {
    kind=$1
    shift
    t0=$(now_us)
    "$@" > /dev/null 2>&1
    t1=$(now_us)
    echo "$kind $(( (t1 - t0) / 1000 )).$(( (t1 - t0) % 1000 / 100 ))" >> "$work/figures"
}
: > "$work/figures"
driver=$build/bin/qv_archive_list_bench
mkdir "$work/archives" "$work/out" "$work/tool"
# Names that the panel's quick search tells apart by their letters.
mv "$work/big.zip" "$work/archives/zipped.zip"
mv "$work/big.7z" "$work/archives/seven.7z"
mv "$work/big.tar.gz" "$work/archives/tgz.tar.gz"
# The program takes file_000.txt from the first archive, file_001.txt from the
# second and file_002.txt from the third (its panel lists each new one).
member=dir_0/file_001.txt
i=0
while [ $i -lt "$runs" ]; do
    for a in zip 7z tar.gz; do
        TZ=UTC QUORVANE_DRIVES='C=/' "$driver" "$work/archives/"*".$a" | awk -v k="qv_$a" '{ print k, $2 }' >> "$work/figures"
    done
    tool unzip unzip -l "$work/archives/zipped.zip"
    tool 7z 7z l "$work/archives/seven.7z"
    tool tar tar tzf "$work/archives/tgz.tar.gz"
    # End to end: one launch of the program per round, each archive in turn.
    rm -f "$work/out"/*
    TZ=UTC QV_BENCH_FOLDER="$work/archives" QV_BENCH_TARGET="$work/out" QV_BENCH_ARCHIVES=zipped.zip,seven.7z,tgz.tar.gz \
        "$build/tests/qv_test_archive" --gtest_also_run_disabled_tests \
        --gtest_filter='ArchiveBenchmark.DISABLED_EnterAndF5OfOneMember' |
        awk '$1 == "quorvane" { print "enter_" $2, $4; print "f5_" $2, $6 }' >> "$work/figures"
    (cd "$work/tool" && tool x_unzip unzip -o "$work/archives/zipped.zip" "$member")
    (cd "$work/tool" && tool x_7z 7z x -y "$work/archives/seven.7z" "$member")
    (cd "$work/tool" && tool x_tar tar xzf "$work/archives/tgz.tar.gz" "./$member")
    i=$((i + 1))
done

median() {
    awk -v kind="$1" '$1 == kind { print $2 }' "$work/figures" | sort -g |
        awk '{ v[NR] = $1 } END { if (NR == 0) print "?"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
printf '%-8s %12s %-10s %12s %8s\n' archive "quorvane ms" tool "tool ms" ratio
for pair in "zip unzip" "7z 7z" "tar.gz tar"; do
    set -- $pair
    ours=$(median "qv_$1")
    theirs=$(median "$2")
    ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "?" }')
    printf '%-8s %12s %-10s %12s %8s\n' "$1" "$ours" "$2" "$theirs" "$ratio"
done
echo
echo "== end to end (the program under the scripted host)"
printf '%-22s %12s %-14s %12s %8s\n' work "quorvane ms" tool "tool ms" ratio
for row in "enter_zipped.zip Enter_on_the_zip unzip unzip_-l" "f5_zipped.zip F5_of_a_zip_member x_unzip unzip" \
    "f5_seven.7z F5_of_a_7z_member x_7z 7z_x" "f5_tgz.tar.gz F5_of_a_tar.gz_member x_tar tar_xzf"; do
    set -- $row
    ours=$(median "$1")
    theirs=$(median "$3")
    ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "?" }')
    printf '%-22s %12s %-14s %12s %8s\n' "$(echo "$2" | tr _ ' ')" "$ours" "$(echo "$4" | tr _ ' ')" "$theirs" "$ratio"
done
