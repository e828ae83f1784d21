#!/usr/bin/env bash
# Builds the players and plays the demo game: in the desktop player when it is built and there is
# a display, otherwise (or with --term) in the terminal. The program folder is program/, whose
# start.txt starts the demo at once. Other arguments go to mirterm (for example --seed 5).
source "$(dirname "$0")/common.sh"
build default >/dev/null
cd program
term=0
if [ "${1:-}" = "--term" ]; then
  term=1
  shift
fi
mirplay=$(find ../build/default/src -name mirplay -type f -perm -u+x 2>/dev/null | head -n 1)
if [ "$term" = 0 ] && [ $# -eq 0 ] && [ -n "$mirplay" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$mirplay"
fi
exec ../build/default/src/frontends/term/mirterm "$@"
