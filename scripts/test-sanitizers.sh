#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (the `asan`
# preset, in build-asan/) and runs the whole test suite on that build.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh

cmake --preset asan
cmake --build --preset asan --parallel "$(nproc)"

# Qt WebEngine refuses to start as root unless its sandbox is switched off.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi

ctest --preset asan --parallel "$(nproc)"
