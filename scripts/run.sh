#!/usr/bin/env bash
# Builds the program and the sample catalogue and starts the program. Unless a
# catalogue already answers on the catalogue host the build names, it starts the
# sample catalogue there first and stops it again when the program ends. Works on a
# fresh Debian 12 machine with a desktop session: it installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-"$root/build"}

bash "$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -G Ninja
cmake --build "$build" --parallel "$(nproc)" --target pricelookup pricelookup-catalogue

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display; start it from a desktop session, or under Xvfb:" >&2
  echo "     tests/support/with-xvfb.sh --window-manager -- $build/app/pricelookup" >&2
  exit 1
fi

# Qt WebEngine refuses to start as root unless its sandbox is switched off.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi

# The catalogue host of this build: host[:port], port 80 when it names none.
catalogue_host=$(sed -n 's/^CATALOGUE_HOST:STRING=//p' "$build/CMakeCache.txt")
host=${catalogue_host%:*}
port=${catalogue_host##*:}
if [ "$host" = "$catalogue_host" ]; then port=80; fi
host=${host#[}
host=${host%]}

answers() { (exec 3<>"/dev/tcp/$host/$port") 2>/dev/null; }

if ! answers; then
  case "$host" in
    127.*|localhost|::1)
      log="$build/catalogue.log"
      echo "run: starting the sample catalogue on $catalogue_host (requests logged to $log)"
      "$build/catalogue/pricelookup-catalogue" --listen "$catalogue_host" >/dev/null 2>"$log" &
      catalogue_pid=$!
      trap 'kill "$catalogue_pid" 2>/dev/null || true; wait "$catalogue_pid" 2>/dev/null || true' EXIT
      for _ in $(seq 100); do
        if answers; then break; fi
        if ! kill -0 "$catalogue_pid" 2>/dev/null; then
          echo "run: the sample catalogue did not start:" >&2
          cat "$log" >&2
          exit 1
        fi
        sleep 0.1
      done
      if ! answers; then echo "run: the sample catalogue does not answer on $catalogue_host" >&2; exit 1; fi
      ;;
    *)
      echo "run: no catalogue answers on $catalogue_host; searches will find nothing" >&2
      ;;
  esac
fi

status=0
"$build/app/pricelookup" || status=$?
exit "$status"
