# Shared by the play and test scripts: installs what is missing, then configures and builds.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if [ "$(id -u)" -eq 0 ]; then
  bash scripts/setup.sh
else
  sudo bash scripts/setup.sh
fi

build() {
  local preset=$1
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -- -j"$(nproc)"
}
