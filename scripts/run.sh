#!/usr/bin/env bash
# Builds the program and starts it. Works on a fresh Debian 12 machine with a
# desktop session: it installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-"$root/build"}

bash "$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -G Ninja
cmake --build "$build" --parallel "$(nproc)" --target pricelookup

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display; start it from a desktop session, or under Xvfb:" >&2
  echo "     tests/support/with-xvfb.sh --window-manager -- $build/app/pricelookup" >&2
  exit 1
fi

# Qt WebEngine refuses to start as root unless its sandbox is switched off.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi

exec "$build/app/pricelookup"
