#!/usr/bin/env bash
# Checks an installed Mireval: the programs, their manual pages, the icons, the program files and
# the demo are where they belong, the installed mirterm plays the demo's walkthrough to the end, a
# save it writes is known by the installed MIME type, and an installed mirseal makes the user's
# program folder on its first start.
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
for f in bin/mirterm bin/mircheck share/icons/hicolor/scalable/apps/mireval.svg; do
  [ -f "$prefix/$f" ] || fail "missing $f"
done
for size in 48 64 128 256; do
  [ -f "$prefix/share/icons/hicolor/${size}x$size/apps/mireval.png" ] || fail "missing the $size-pixel icon"
done
# Each of our installed programs has its manual page (the prefix may be /usr, holding others').
for name in mirplay mirseal mirterm mircheck; do
  [ -e "$prefix/bin/$name" ] || continue
  [ -f "$prefix/share/man/man6/$name.6.gz" ] || fail "missing share/man/man6/$name.6.gz"
done
# The window's player comes with what a desktop shows of it.
if [ -x "$prefix/bin/mirplay" ]; then
  for f in share/metainfo/org.example.Mireval.metainfo.xml share/mime/packages/mireval.xml; do
    [ -f "$prefix/$f" ] || fail "missing $f"
  done
  grep -qx 'Exec=mirplay %f' "$prefix/share/applications/mirplay.desktop" ||
    fail "mirplay.desktop does not pass the file it opens"
fi
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

# A save written by the installed mirterm is the installed MIME type's, by its name and by its first
# lines alone, while another program's *.sav stays its own: a database made in the scratch folder
# from the system's types and ours, read through GIO as a file manager reads it.
python=/usr/bin/python3
if [ -f "$prefix/share/mime/packages/mireval.xml" ] && command -v update-mime-database > /dev/null &&
  "$python" -c 'from gi.repository import Gio' 2> /dev/null; then
  cp -r "$share/games/demo" "$scratch/game"
  (cd "$scratch/work" && printf 'сохранить игру\nproba\n/quit\n' |
    "$prefix/bin/mirterm" "$scratch/game" > /dev/null 2>&1) || fail "mirterm could not save a game"
  [ -f "$scratch/game/proba.sav" ] || fail "mirterm wrote no proba.sav"
  printf '$FL2@(#) SPSS DATA FILE\n' > "$scratch/game/other.sav"
  mkdir -p "$scratch/xdg/mime/packages"
  cp /usr/share/mime/packages/freedesktop.org.xml "$prefix/share/mime/packages/mireval.xml" "$scratch/xdg/mime/packages/"
  XDG_DATA_HOME=$scratch/xdg update-mime-database "$scratch/xdg/mime" > /dev/null 2>&1
  types=$(XDG_DATA_HOME=$scratch/xdg XDG_DATA_DIRS=$scratch/xdg "$python" - "$scratch/game" <<'PY'
import sys
from gi.repository import Gio
folder = sys.argv[1]
for name in ("proba.sav", "other.sav"):
    data = open(f"{folder}/{name}", "rb").read(4096)
    print(name, Gio.content_type_guess(name, data)[0], Gio.content_type_guess(None, data)[0])
PY
)
  expected="proba.sav application/x-mireval-save application/x-mireval-save"
  [ "$(head -n 1 <<< "$types")" = "$expected" ] || fail "a save is not known as a save: $types"
  [ "$(sed -n 2p <<< "$types" | cut -d' ' -f2)" != application/x-mireval-save ] ||
    fail "another program's .sav is taken for a save: $types"
else
  echo "install check: the MIME type of saves not tried (needs shared-mime-info and python3-gi)"
fi

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
