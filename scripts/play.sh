#!/usr/bin/env bash
# Builds the player and plays the demo game in the terminal (program folder: program/).
source "$(dirname "$0")/common.sh"
build default >/dev/null
cd program
exec ../build/default/src/frontends/term/mirterm "$@" ../games/demo
