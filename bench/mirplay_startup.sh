#!/usr/bin/env bash
# The desktop player under Xvfb: time from start to its window shown (target: under 300 ms) and
# its resident memory while the demo game is playing (target: under 100 MB). The game is started
# by the autostart file, so the window comes up with the demo's introduction in it.
#
#   bench/mirplay_startup.sh [PATH_TO_MIRPLAY]
#
# Without a path the first mirplay found under build/ is used; with none the benchmark is skipped
# (exit 0). RUNS sets the number of starts (default 5); MIRPLAY_TITLE the window title looked for
# (default the player's own, "Миревал"). A benchmark, not a test: nothing is checked.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --inside ]; then
  # Runs inside xvfb-run: start the player RUNS times and time each start.
  shift
  mirplay=$1 work=$2 title=$3 runs=$4
  now_ms() { echo $(($(date +%s%N) / 1000000)); }
  # A shown top-level window of the player: found by its title, or, should the title not be
  # readable as a plain name, by the process that owns it.
  window_shown() {
    xwininfo -name "$title" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
    local id
    for id in $(xwininfo -root -children 2>/dev/null | awk '$1 ~ /^0x/ {print $1}'); do
      xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -qw "$pid" || continue
      xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
    done
    return 1
  }
  shown_ms=()
  for _ in $(seq "$runs"); do
    start=$(now_ms)
    (cd "$work" && exec "$mirplay" >/dev/null 2>&1) &
    pid=$!
    shown=
    while [ -z "$shown" ]; do
      if window_shown; then
        shown=$(($(now_ms) - start))
      elif ! kill -0 "$pid" 2>/dev/null; then
        echo "mirplay ended before its window was shown" >&2
        exit 1
      elif [ $(($(now_ms) - start)) -gt 20000 ]; then
        echo "no window titled \"$title\" within 20 s" >&2
        kill "$pid"
        exit 1
      fi
    done
    shown_ms+=("$shown")
    # Resident memory while the demo plays: sampled for two seconds, and the peak so far.
    rss_kb=0
    for _ in $(seq 20); do
      kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
      [ "${kb:-0}" -gt "$rss_kb" ] && rss_kb=$kb
      sleep 0.1
    done
    hwm_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "start to window shown: ${shown} ms; resident memory: $((rss_kb / 1024)) MB" \
         "(peak $((hwm_kb / 1024)) MB)"
  done
  sorted=$(printf '%s\n' "${shown_ms[@]}" | sort -n)
  echo "median start to window shown: $(echo "$sorted" | sed -n "$(((runs + 1) / 2))p") ms" \
       "over $runs starts (target: under 300 ms); resident memory target: under 100 MB"
  exit 0
fi

mirplay=${1:-${MIRPLAY:-}}
if [ -z "$mirplay" ]; then
  mirplay=$(find build -type f -name mirplay -perm -u+x 2>/dev/null | sort | head -n 1 || true)
fi
if [ -z "$mirplay" ] || [ ! -x "$mirplay" ]; then
  echo "mirplay start-up benchmark: no mirplay binary (build the default preset with Qt): skipped"
  exit 0
fi
for tool in xvfb-run xwininfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "mirplay start-up benchmark: $tool is missing (scripts/setup.sh installs it): skipped"
    exit 0
  fi
done

mirplay=$(realpath "$mirplay")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A program folder of its own, whose autostart file starts the demo game.
cp program/*.txt "$work"/
ln -s "$PWD/games/demo" "$work/demo"
echo demo >"$work/start.txt"

echo "mirplay start-up: $mirplay"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  bash "$0" --inside "$mirplay" "$work" "${MIRPLAY_TITLE:-Миревал}" "${RUNS:-5}"
