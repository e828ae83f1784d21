#!/usr/bin/env bash
# Installs everything the build, the tests and the desktop front end need on a Debian machine.
# Run as root; running it again changes nothing.
#   scripts/setup.sh          what the desktop build and the README's commands need
#   scripts/setup.sh --web    that, and the WebAssembly toolchain and a headless browser for the
#                             web player (scripts/web.sh) and its tests
set -euo pipefail

packages=(
  # build and tests
  cmake ninja-build g++ pkg-config git
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang-format
  # sanitizers and fuzzing
  clang libclang-rt-14-dev
  # desktop front end
  qt6-base-dev qt6-multimedia-dev libqt6multimedia6 qt6-qpa-plugins
  libgl-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav gstreamer1.0-pulseaudio
  fonts-liberation fonts-dejavu-core
  # headless window and sound for the desktop tests
  xvfb xauth x11-apps pulseaudio pulseaudio-utils
  # the desktop window read through the accessibility bus and typed into, as a screen reader user
  at-spi2-core python3-gi gir1.2-atspi-2.0 dbus dbus-bin x11-xkb-utils xdotool
  # a decimal-comma locale for the test that numbers in game text ignore the locale
  locales
  # the Debian package checked as Debian's tools and the desktop read it (scripts/check_package.sh)
  lintian desktop-file-utils appstream shared-mime-info libxml2-utils groff-base man-db
)

# The web player: Debian's emscripten (3.1.6 on bookworm) and the browser its page test drives.
if [ "${1:-}" = "--web" ]; then
  packages+=(emscripten chromium)
  # node and npm run the page's tests; a machine may have its own node already.
  command -v npm >/dev/null || packages+=(nodejs npm)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# One locale, a few seconds: the number conversion tests skip without a decimal-comma locale.
if ! locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8'; then
  localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi

# The page test's accessibility checker (axe-core), exactly as the lock file names it.
if [ "${1:-}" = "--web" ]; then
  npm ci --prefix "$(dirname "$0")/../tests/web" --no-audit --no-fund --loglevel=error
fi
