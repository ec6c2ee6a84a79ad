#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. The tests start
# and stop their own throwaway database server.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_missing
build_all
say "Running the tests"
cd "$BUILD"
ctest --output-on-failure --timeout 900 "$@"
