#!/usr/bin/env bash
# The desktop player under Xvfb: time from start to its first painted window (target: under
# 300 ms), its resident memory while the demo game is playing (target: under 100 MB) and the
# processor time it takes while it waits for the player (target: none to speak of). The game
# is started by the autostart file, as it is for a player whose start.txt names it.
#
#   bench/mirplay_startup.sh [PATH_TO_MIRPLAY]
#
# Without a path the first mirplay found under build/ is used; with none the benchmark is skipped
# (exit 0). RUNS sets the number of starts (default 5). A benchmark, not a test: nothing is checked.
#
# The moment of the first paint is Qt's own: with the widget painting log switched on, Qt writes a
# "Flushing top level" line when it hands the first painted pixels of the window to the X server.
# Each line carries the wall clock in milliseconds, compared with the clock read just before the
# player is started.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --inside ]; then
  # Runs inside xvfb-run: start the player RUNS times and time each start.
  shift
  mirplay=$1 work=$2 runs=$3
  log=$work/qt.log
  now_ms() { date +%s%3N; }
  painted_ms=()
  for _ in $(seq "$runs"); do
    : >"$log"
    start=$(now_ms)
    (cd "$work" && XDG_CONFIG_HOME="$work/config" QT_LOGGING_RULES="qt.widgets.painting=true" \
       QT_MESSAGE_PATTERN="%{time yyyy-MM-ddThh:mm:ss.zzz} %{message}" \
       exec "$mirplay" >/dev/null 2>"$log") &
    pid=$!
    painted=
    while [ -z "$painted" ]; do
      line=$(grep -m 1 'Flushing top level' "$log" || true)
      if [ -n "$line" ]; then
        painted=$(($(date -d "${line%% *}" +%s%3N) - start))
      elif ! kill -0 "$pid" 2>/dev/null; then
        echo "mirplay ended before its window was painted:" >&2
        grep -v '^[0-9-]*T[0-9:.]* \(Marking\|Sending\|Syncing\|Drawing\|Painting\|Flushing\)' \
          "$log" >&2 || true
        exit 1
      elif [ $(($(now_ms) - start)) -gt 20000 ]; then
        echo "no window painted within 20 s" >&2
        kill "$pid"
        exit 1
      else
        sleep 0.01
      fi
    done
    painted_ms+=("$painted")
    # Resident memory while the demo plays: sampled for two seconds, and the peak so far. The
    # demo's first page waits for Enter meanwhile, so the processor time of those two seconds is
    # what the player spends doing nothing. The first half second (start-up) is left out.
    sleep 0.5
    cpu_ticks() { awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || echo 0; }
    ticks_before=$(cpu_ticks)
    rss_kb=0
    for _ in $(seq 20); do
      kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
      [ "${kb:-0}" -gt "$rss_kb" ] && rss_kb=$kb
      sleep 0.1
    done
    hwm_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    idle_ms=$((($(cpu_ticks) - ticks_before) * 1000 / $(getconf CLK_TCK)))
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "start to first painted window: ${painted} ms; resident memory: $((rss_kb / 1024)) MB" \
         "(peak $((hwm_kb / 1024)) MB); processor time while waiting: ${idle_ms} ms in 2 s"
  done
  sorted=$(printf '%s\n' "${painted_ms[@]}" | sort -n)
  echo "median start to first painted window: $(echo "$sorted" | sed -n "$(((runs + 1) / 2))p") ms" \
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
if ! command -v xvfb-run >/dev/null; then
  echo "mirplay start-up benchmark: xvfb-run is missing (scripts/setup.sh installs it): skipped"
  exit 0
fi

mirplay=$(realpath "$mirplay")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A program folder of its own, whose autostart file starts the demo game.
cp program/*.txt "$work"/
ln -s "$PWD/games/demo" "$work/demo"
echo demo >"$work/start.txt"

echo "mirplay start-up: $mirplay"
# -noreset: the server must not reset when one player closes and the next is about to connect.
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  bash "$0" --inside "$mirplay" "$work" "${RUNS:-5}"
