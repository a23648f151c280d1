#!/bin/sh
# Runs a test program on a virtual screen of the given size under openbox, a
# window manager that decorates and places windows as a classroom's does.
# Exit 77 (skipped) when Xvfb or openbox is not installed.
# Usage: com-openbox.sh WIDTHxHEIGHT program [arguments...]
set -u
tamanho=$1
shift
for p in Xvfb openbox xprop xwininfo; do
  if ! command -v "$p" >/dev/null 2>&1; then
    echo "SKIP: $p not installed (Debian: xvfb openbox x11-utils)"
    exit 77
  fi
done
pasta=$(mktemp -d)
trap 'kill $wm $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$pasta"' EXIT INT TERM
# Xvfb picks a free display and writes its number on fd 3 once it accepts clients.
Xvfb -displayfd 3 -screen 0 "${tamanho}x24" -nolisten tcp 3>"$pasta/tela" 2>"$pasta/xvfb.log" &
xvfb=$!
n=0
while [ ! -s "$pasta/tela" ]; do
  n=$((n + 1))
  if [ $n -gt 600 ] || ! kill -0 $xvfb 2>/dev/null; then
    echo "Xvfb did not start:"; cat "$pasta/xvfb.log"; exit 1
  fi
  sleep 0.1
done
DISPLAY=:$(head -n1 "$pasta/tela")
export DISPLAY
HOME=$pasta openbox --sm-disable >"$pasta/wm.log" 2>&1 &
wm=$!
# openbox owns the window manager selection once it manages the screen.
n=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  n=$((n + 1))
  if [ $n -gt 600 ] || ! kill -0 $wm 2>/dev/null; then
    echo "openbox did not start:"; cat "$pasta/wm.log"; exit 1
  fi
  sleep 0.1
done
QT_QPA_PLATFORM=xcb "$@"
