#!/usr/bin/env bash
# Builds the player and plays the demo game in its window. The window's program folder is
# build/play: the cover from program/ and a start.txt that names the demo game, so the game starts
# by itself. With "term": the terminal player instead, in program/ (further arguments go to it).
source "$(dirname "$0")/common.sh"
build default >/dev/null
if [ "${1:-}" = term ]; then
  shift
  cd program
  exec ../build/default/src/frontends/term/mirterm "$@" ../games/demo
fi
mkdir -p build/play
cp program/obloz.txt build/play/
printf '../../games/demo\r\n' > build/play/start.txt
cd build/play
exec ../default/src/frontends/qt/play/mirplay
