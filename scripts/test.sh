#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. The tests start
# and stop their own throwaway database server.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_missing
build_all
# Suites wait on their server far more than they compute: twice as many
# side by side as there are cores keeps both busy. TARVESA_TEST_JOBS says
# otherwise; a -j among the arguments wins.
jobs="${TARVESA_TEST_JOBS:-$(( $(nproc) * 2 ))}"
say "Running the tests ($jobs side by side)"
cd "$BUILD"
ctest --output-on-failure --timeout 900 -j "$jobs" "$@"
