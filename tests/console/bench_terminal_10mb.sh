#!/bin/sh
# Times 10 MB of a child's output through the terminal emulator beside cat of
# the same file through a pseudo-terminal. Prints the figures and the ratio;
# asserts none.
#   tests/console/bench_terminal_10mb.sh [path to qv_test_console]
here=$(cd "$(dirname "$0")/../.." && pwd)
# By default the test build that ./test makes (sanitizers slow it down: build
# without them for figures that compare with a release build).
exe=${1:-$here/build/test/tests/qv_test_console}
[ -d /dev/shm ] && export TMPDIR=/dev/shm
TZ=UTC QUORVANE_DRIVES='C=/' exec "$exe" --gtest_also_run_disabled_tests \
    --gtest_filter='TerminalBenchmark.DISABLED_TenMegabytesOfOutput'
