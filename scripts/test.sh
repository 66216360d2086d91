#!/usr/bin/env bash
# Builds the program and runs the whole test suite. Works on a fresh Debian 12 machine:
# it installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-"$root/build"}

bash "$root/scripts/install-deps.sh"

# The project's own builds treat warnings as errors; a user's plain build only warns.
cmake -S "$root" -B "$build" -G Ninja -DPRICELOOKUP_WARNINGS_AS_ERRORS=ON
cmake --build "$build" --parallel "$(nproc)"

# Qt WebEngine refuses to start as root unless its sandbox is switched off.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi

ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 600
