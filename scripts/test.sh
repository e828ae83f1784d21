#!/usr/bin/env bash
# Builds everything and runs every test. With "asan": the same under AddressSanitizer and
# UndefinedBehaviorSanitizer.
source "$(dirname "$0")/common.sh"
preset=${1:-default}
build "$preset"
ctest --preset "$preset" -j"$(nproc)"
