#!/usr/bin/env bash
# Checks an installed Mireval: the programs, the program files and the demo are where they belong,
# the installed mirterm plays the demo's walkthrough to the end, and an installed mirseal makes the
# user's program folder on its first start.
#
#   tests/install/check.sh PREFIX               an installed tree (/usr after installing the package)
#   tests/install/check.sh --build BUILD_DIR    installs BUILD_DIR into a scratch prefix first
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
e2e=$here/../e2e
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if [ "${1:-}" = "--build" ]; then
  cmake --install "$2" --prefix "$scratch/prefix" >/dev/null
  prefix=$scratch/prefix
else
  prefix=${1:?usage: check.sh PREFIX | --build BUILD_DIR}
fi

fail() {
  echo "install check: $*" >&2
  exit 1
}

share=$prefix/share/mireval
for f in bin/mirterm bin/mircheck share/icons/hicolor/128x128/apps/mireval.png; do
  [ -f "$prefix/$f" ] || fail "missing $f"
done
for f in obloz.txt ifgames.txt editor.txt start.txt games/demo/main.txt games/demo/room1.txt \
         games/demo/noch.wav games/demo/LICENSE; do
  [ -f "$share/$f" ] || fail "missing share/mireval/$f"
done
[ "$(head -n 1 "$share/start.txt" | tr -d '\r')" = "games/demo" ] || fail "start.txt does not name the demo"
# Each of our desktop entries starts a program that is installed.
for entry in "$prefix"/share/applications/{mirplay,mirseal}.desktop; do
  [ -e "$entry" ] || continue
  program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  [ -x "$prefix/bin/$program" ] || fail "$(basename "$entry") starts $program, which is not installed"
done

# The installed checker finds no errors in the installed demo.
"$prefix/bin/mircheck" "$share/games/demo" > "$scratch/check.txt" 2>&1 ||
  { cat "$scratch/check.txt" >&2; fail "mircheck finds errors in the installed demo (status $?)"; }

# The walkthrough, played by the installed terminal player in a folder of its own.
game=$(cd "$share/games/demo" && pwd -P)/
mkdir "$scratch/work"
(cd "$scratch/work" && "$prefix/bin/mirterm" --seed 12 "$share/games/demo" \
  < "$e2e/demo_walkthrough.in" > "$scratch/out.txt" 2>&1) || fail "mirterm ended with status $?"
sed "s|{GAME_DIR}|$game|g" "$e2e/demo_walkthrough.out" > "$scratch/expected.txt"
diff -u "$scratch/expected.txt" "$scratch/out.txt" > "$scratch/diff.txt" ||
  { head -n 40 "$scratch/diff.txt" >&2; fail "the installed mirterm plays the walkthrough differently"; }

# The installed seal tool's window works in the user's own program folder, made on first start.
if [ -x "$prefix/bin/mirseal" ]; then
  mkdir "$scratch/home"
  status=0
  (cd "$scratch" && env -u XDG_DATA_HOME HOME="$scratch/home" QT_QPA_PLATFORM=offscreen \
    timeout 5 "$prefix/bin/mirseal" > /dev/null 2>&1) || status=$?
  [ "$status" = 124 ] || fail "mirseal's window ended by itself (status $status)"
  user=$scratch/home/.local/share/mireval
  [ -f "$user/start.txt" ] && [ -f "$user/games/demo/main.txt" ] ||
    fail "mirseal did not make the user's program folder"
fi
echo "install check: passed ($prefix)"
