#!/usr/bin/env bash
# Runs a command against an X server of its own: a fresh Xvfb on a free display
# number (the server picks it, so parallel tests never race for one), optionally with
# a window manager, so that window tests see a real display, real focus and real
# keyboard events.
#   with-xvfb.sh [--screen WxHxD] [--window-manager] -- command [args...]
set -euo pipefail

screen=1280x1024x24
window_manager=
while [ $# -gt 0 ]; do
  case $1 in
    --screen) screen=$2; shift 2 ;;
    --window-manager) window_manager=openbox; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done

display_file=$(mktemp)
# -noreset: the server stays up when its last client leaves, as a desktop's does; else
# a program started by "刷新" could meet the server resetting as the old one exits.
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$display_file" 2>/dev/null &
server=$!
wm=
cleanup() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  kill "$server" 2>/dev/null
  wait 2>/dev/null
  rm -f "$display_file"
}
trap cleanup EXIT

for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  kill -0 "$server" 2>/dev/null || { echo "with-xvfb: Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=":$(head -n 1 "$display_file")"

if [ -n "$window_manager" ]; then
  "$window_manager" >/dev/null 2>&1 &
  wm=$!
  sleep 0.5
fi

# A virtual framebuffer has no GPU: the preview pane's web engine renders in software
# instead of trying and logging the failure.
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"

"$@"
