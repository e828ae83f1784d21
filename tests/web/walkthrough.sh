#!/usr/bin/env bash
# The demo walkthrough played by the WebAssembly build of mirterm under node must give the native
# transcript byte for byte, with the same seed and checks as tests/e2e (--strict: a failed check
# or a lost line fails the run).
#   tests/web/walkthrough.sh [BUILD_DIR]     (default build/web, made by scripts/web.sh build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/web}" && pwd)
e2e=$root/tests/e2e
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "web walkthrough: $*" >&2
  exit 1
}

game=$(cd "$root/games/demo" && pwd -P)/
mkdir "$scratch/work"
start=$(date +%s%N)
status=0
# node's experimental fetch would take the place of the file reads of this emscripten's loader.
(cd "$scratch/work" && node --no-experimental-fetch "$build/mirterm_wasm.js" --seed 12 --strict \
  "$root/games/demo" < "$e2e/demo_walkthrough.in" > "$scratch/out.txt" 2>&1) || status=$?
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$status" = 0 ] || { tail -n 20 "$scratch/out.txt" >&2; fail "mirterm_wasm ended with status $status"; }
sed "s|{GAME_DIR}|$game|g" "$e2e/demo_walkthrough.out" > "$scratch/expected.txt"
diff -u "$scratch/expected.txt" "$scratch/out.txt" > "$scratch/diff.txt" ||
  { head -n 40 "$scratch/diff.txt" >&2; fail "the transcript differs from the native one"; }
# The command log is written through the same file calls the saves use.
[ "$(wc -l < "$scratch/work/logfile.txt")" = 54 ] || fail "the command log does not hold 54 records"
echo "web walkthrough: the transcript matches the native one (${elapsed} ms)"
