#!/bin/sh
# Runs one test program (or lists its tests) with the environment every test
# expects: UTC, the drives C: and S: (a second file system, as the wine prefix
# of the Windows leg maps it too, cmake/run-wine-tests.sh), and where the
# source and build trees are.
#   with-test-env.sh SOURCE_DIR BINARY_DIR PROGRAM [ARGUMENTS...]
QV_SOURCE_DIR=$1
QV_BINARY_DIR=$2
shift 2
TZ=UTC
QUORVANE_DRIVES='C=/;S=/dev/shm'
export TZ QUORVANE_DRIVES QV_SOURCE_DIR QV_BINARY_DIR
exec "$@"
