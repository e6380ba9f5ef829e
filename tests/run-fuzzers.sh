#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, build/fuzz) and runs each on a fresh copy
# of its seeds. ./test runs every target for a few seconds; run it by hand for
# longer runs:
#   tests/run-fuzzers.sh                  every target, 5 seconds each
#   tests/run-fuzzers.sh -t 600 HostFrames   one target for ten minutes
#   tests/run-fuzzers.sh -t 60 -k            keep what the runs found as corpus
# A crash leaves its input in build/fuzz/artifacts/<Name>/ and fails the run;
# replay it with build/fuzz/fuzz/fuzz_<Name> <file>.
set -euo pipefail
cd "$(dirname "$0")/.."
source cmake/setup.sh

seconds=5
keep=0
while getopts "t:kh" opt; do
    case $opt in
        t) seconds=$OPTARG ;;
        k) keep=1 ;;
        *) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
    esac
done
shift $((OPTIND - 1))

build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_CXX_FLAGS=-O1 -DCMAKE_C_FLAGS=-O1 -DQV_FUZZ=ON >/dev/null
cmake --build "$build" -j "${QV_FUZZ_JOBS:-$(qv_jobs)}" --target qv_fuzz_all

# The environment of the tests: a fixed time zone and the drive map.
export TZ=UTC QUORVANE_DRIVES='C=/;S=/dev/shm'
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

failed=()
ran=0
while IFS=$'\t' read -r name exe seeds; do
    [ -n "$name" ] || continue
    if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qxF "$name"; then
        continue
    fi
    corpus="$build/corpus/$name"
    artifacts="$build/artifacts/$name"
    if [ "$keep" = 0 ] || [ ! -d "$corpus" ]; then
        rm -rf "$corpus"
        mkdir -p "$corpus"
        cp -R "$seeds"/. "$corpus"/
    fi
    mkdir -p "$artifacts"
    echo "== fuzz $name (${seconds}s)"
    ran=$((ran + 1))
    if ! "$exe" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$artifacts/" "$corpus" >"$build/$name.log" 2>&1; then
        tail -n 60 "$build/$name.log"
        failed+=("$name")
    else
        grep -E '^(stat::number_of_executed_units|Done)' "$build/$name.log" || true
    fi
done <"$build/fuzz-targets.txt"

if [ $# -gt 0 ] && [ "$ran" = 0 ]; then
    echo "no fuzz target named: $*" >&2
    exit 2
fi
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz targets that failed: ${failed[*]} (inputs in $build/artifacts/)" >&2
    exit 1
fi
echo "== $ran fuzz targets ran clean"
