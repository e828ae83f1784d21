#!/usr/bin/env bash
# mirseal's memory on a large location file: the peak resident memory while it scrambles a folder
# holding one plain file of SIZE_MB megabytes (default 100) and while it turns it back, less the
# peak for a file of a few bytes, per megabyte of the plain file (target: under 3).
#
#   bench/seal_memory.sh [PATH_TO_MIRSEAL]
#
# Without a path the first mirseal found under build/ is used; with none the benchmark is skipped
# (exit 0). A benchmark, not a test: nothing is checked. Needs /usr/bin/time.
set -euo pipefail
cd "$(dirname "$0")/.."

mirseal=${1:-$(find build -type f -name mirseal -perm -u+x 2>/dev/null | head -n 1)}
if [ -z "$mirseal" ]; then
  echo "seal_memory: no mirseal under build/, skipped"
  exit 0
fi
size_mb=${SIZE_MB:-100}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# Peak resident memory in kB of one run of mirseal.
peak_kb() {
  /usr/bin/time -f %M -o "$dir/time" "$mirseal" "$@" >/dev/null
  cat "$dir/time"
}

mkdir "$dir/small" "$dir/large"
printf 'small\r\n' >"$dir/small/room1.txt"
# Lines of 70 characters, as location text runs, in Windows-1251 like any game file.
line=$(printf 'Строка: над холмом чернеет силуэт старой мельницы, и ветер гонит листья.' |
  iconv -f UTF-8 -t CP1251)
# (yes ends on a broken pipe, which is how it is meant to end.)
{ yes "$line" || true; } | sed 's/$/\r/' | head -c $((size_mb * 1024 * 1024)) \
  >"$dir/large/room1.txt" || true
plain_mb=$(($(stat -c %s "$dir/large/room1.txt") / 1024 / 1024))

small_kb=$(peak_kb --encrypt "$dir/small")
encrypt_kb=$(peak_kb --encrypt "$dir/large")
decrypt_kb=$(peak_kb --decrypt "$dir/large")
per_mb() { awk -v peak="$1" -v base="$small_kb" -v mb="$plain_mb" \
  'BEGIN { v = (peak - base) / 1024 / mb; printf "%.2f", (v > 0 ? v : 0) }'; }
echo "mirseal: $mirseal"
echo "plain file: $plain_mb MB; peak for a tiny file: $((small_kb / 1024)) MB"
echo "encrypt: peak $((encrypt_kb / 1024)) MB, $(per_mb "$encrypt_kb") MB per MB of file"
echo "decrypt: peak $((decrypt_kb / 1024)) MB, $(per_mb "$decrypt_kb") MB per MB of file"
