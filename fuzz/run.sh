#!/usr/bin/env bash
# Runs every fuzz target of the "fuzz" preset for SECONDS each (default 60): first over the
# inputs that once crashed or hung it (fuzz/regressions/<target>), then fuzzing from the seed
# corpus made from the demo game and the damaged-input base game. Fails on any crash, leak, or
# input that takes over a second. New corpus entries and crash inputs stay in build/fuzz/corpus.
#   cmake --preset fuzz && cmake --build --preset fuzz && fuzz/run.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bin=build/fuzz/fuzz
work=build/fuzz/corpus

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

rm -rf "$work/seeds"
"$bin/make_fuzz_seeds" "$work/seeds"

for target in location decoder save main_file checker; do
  corpus=$work/$target
  mkdir -p "$corpus" "$work/artifacts"
  # Save files are 11003 lines long: the inputs must be allowed to be that long.
  max_len=20000
  [ "$target" = save ] && max_len=120000
  options=(-timeout=1 -rss_limit_mb=2048 -max_len=$max_len
           -artifact_prefix="$work/artifacts/$target-")
  if [ -d "fuzz/regressions/$target" ]; then
    echo "== $target: regressions"
    "$bin/${target}_fuzzer" "${options[@]}" fuzz/regressions/$target/*
  fi
  # The checker reads the location target's inputs as a game of its own.
  seeds=$work/seeds/$target
  [ "$target" = checker ] && seeds=$work/seeds/location
  echo "== $target: fuzzing for $seconds s"
  "$bin/${target}_fuzzer" "${options[@]}" -max_total_time="$seconds" -print_final_stats=1 \
    "$corpus" "$seeds"
done
