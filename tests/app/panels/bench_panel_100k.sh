#!/bin/sh
# Times a panel of 100,000 files: creating them, reading, every sort mode and
# formatting every entry line. Prints the times; asserts none.
#   tests/app/panels/bench_panel_100k.sh [path to qv_test_app_panels]
here=$(cd "$(dirname "$0")/../../.." && pwd)
# By default the test build that ./test makes.
exe=${1:-$here/build/test/tests/qv_test_app_panels}
# tmpfs keeps the file creation from dominating the run.
[ -d /dev/shm ] && export TMPDIR=/dev/shm
TZ=UTC QUORVANE_DRIVES='C=/' exec "$exe" --gtest_also_run_disabled_tests \
    --gtest_filter='PanelBenchmark.DISABLED_ReadSortAndFormat100000Files'
