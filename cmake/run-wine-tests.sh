#!/usr/bin/env bash
# Runs every unit-test executable of a Windows build under wine and reports one
# summary line. The wine prefix is kept between runs; its drive S: is mapped to
# /dev/shm as the Linux tests map it, so the tests see a second file system
# under the same letter on both systems.
set -uo pipefail
build="$1"
source "$(dirname "$0")/setup.sh"

qv_wine_env
wine=$QV_WINE
export TZ=UTC
ln -sfn /dev/shm "$WINEPREFIX/dosdevices/s:"
# A running wineserver keeps the drives it found when it started: restart it,
# or the first programs of a new prefix find no S: (and their tests fail on
# errors that have nothing to do with the program).
"$(dirname "$wine")/wineserver" -k >/dev/null 2>&1 || wineserver -k >/dev/null 2>&1 || true

passed=0
failed=0
skipped=0
failures=()
count() {  # count LABEL FILE: the N of gtest's "[  LABEL  ] N tests" summary line
    sed -n "s/^\[ *$1 *\] \([0-9]*\) tests\{0,1\}[,.].*/\1/p" "$2" | head -n1
}
out=$(mktemp)
for exe in $(find "$build/tests" -name 'qv_test_*.exe' | sort); do
    name=$(basename "$exe" .exe)
    echo "-- $name"
    timeout 900 "$wine" "$exe" --gtest_brief=1 >"$out" 2>&1
    rc=$?
    [ "$rc" -eq 124 ] && echo "$name: stopped after 900 s" >>"$out"
    cat "$out"
    p=$(count PASSED "$out"); f=$(count FAILED "$out"); s=$(count SKIPPED "$out")
    passed=$((passed + ${p:-0}))
    skipped=$((skipped + ${s:-0}))
    if [ "$rc" -ne 0 ]; then
        failed=$((failed + ${f:-1}))
        failures+=("$name")
    fi
done
rm -f "$out"
"$(dirname "$wine")/wineserver" -k >/dev/null 2>&1 || wineserver -k >/dev/null 2>&1 || true
[ "$failed" -eq 0 ] || echo "failed under wine: ${failures[*]}"
echo "wine: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
