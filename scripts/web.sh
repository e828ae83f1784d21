#!/usr/bin/env bash
# The player in a web browser.
#   scripts/web.sh build          builds the WebAssembly players (preset "web") and the page into
#                                 build/web/site/ (static files only)
#   scripts/web.sh serve [PORT]   serves that folder on http://127.0.0.1:PORT/ (default 8080)
# Building needs emscripten (scripts/setup.sh --web installs it); the desktop build does not.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
site=build/web/site

build() {
  if ! command -v emcmake >/dev/null; then
    if [ "$(id -u)" -eq 0 ]; then bash scripts/setup.sh --web; else sudo bash scripts/setup.sh --web; fi
  fi
  # Debian's emscripten runs its JavaScript optimiser with node and finds its parser among
  # Debian's node modules, which a node from elsewhere does not search.
  if [ -d /usr/share/nodejs ]; then export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}; fi
  emcmake cmake --preset web >/dev/null
  # At most two jobs: the machines this runs on share two cores.
  cmake --build --preset web -- -j"$(( $(nproc) < 2 ? $(nproc) : 2 ))"
  rm -rf "$site"
  mkdir -p "$site"
  cp web/index.html web/mirweb.css web/*.js "$site"/
  cp build/web/mirweb-core.js build/web/mirweb-core.wasm build/web/mirweb-core.data "$site"/
  echo "web: the page is in $site (scripts/web.sh serve, then http://127.0.0.1:8080/)"
}

serve() {
  local port=${1:-8080}
  [ -f "$site/index.html" ] || { echo "web: no page yet: run scripts/web.sh build" >&2; exit 1; }
  echo "web: serving $site on http://127.0.0.1:$port/ (Ctrl+C stops)"
  cd "$site"
  exec python3 -m http.server --bind 127.0.0.1 "$port"
}

case "${1:-}" in
  build) build ;;
  serve) serve "${2:-}" ;;
  *)
    echo "usage: scripts/web.sh build | serve [PORT]" >&2
    exit 2
    ;;
esac
