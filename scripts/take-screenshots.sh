#!/usr/bin/env bash
# Takes the README's pictures of the program: a search for "电视" against the sample
# catalogue, and the preview of a clicked row. Runs the real program (its test driver
# build, which acts as the user) on a virtual X server with a window manager.
#   scripts/take-screenshots.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-${BUILD_DIR:-"$root/build"}}

cmake --build "$build" --parallel "$(nproc)" --target program_driver pricelookup-catalogue

# The catalogue on a free port; its first line says which.
catalogue_out=$(mktemp)
"$build/catalogue/pricelookup-catalogue" --listen 127.0.0.1:0 >"$catalogue_out" 2>/dev/null &
catalogue=$!
trap 'kill "$catalogue" 2>/dev/null; rm -f "$catalogue_out" "$report"' EXIT
report=$(mktemp)
for _ in $(seq 100); do
  grep -q '^listening on ' "$catalogue_out" && break
  sleep 0.05
done
host=$(sed -n 's/^listening on //p' "$catalogue_out")
[ -n "$host" ] || { echo "take-screenshots: the catalogue did not start" >&2; exit 1; }

if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
# The driver reads its steps as GBK, the program's own encoding.
steps=$(printf '%s' "type:电视;wait:2500;shot:$root/docs/result-list.png;answer:5000;click-row:1;wait:800;shot:$root/docs/picture-preview.png;close" |
  iconv -f UTF-8 -t GBK)
PRICELOOKUP_DRIVER_CATALOGUE=$host PRICELOOKUP_DRIVER_ACTION=steps PRICELOOKUP_DRIVER_STEPS=$steps \
  PRICELOOKUP_DRIVER_REPORT=$report PRICELOOKUP_DRIVER_FRAMED=1 \
  "$root/tests/support/with-xvfb.sh" --screen 1024x768x24 --window-manager -- "$build/tests/app/program_driver"
echo "take-screenshots: docs/result-list.png and docs/picture-preview.png"
