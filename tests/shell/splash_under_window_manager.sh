#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The splash ends at the first key in a real X server with a window manager, which gives a
# splash no focus (Qt's offscreen platform cannot show this). Usage: WINDOW_PROGRAM
set -u
program=$1
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 1; }
done
work=$(mktemp -d)
trap 'kill $app $wm $xvfb 2>/dev/null; rm -rf "$work"' EXIT
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(head -n 1 "$work/display")
openbox >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break; sleep 0.05; done
started=${EPOCHREALTIME/./}
XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work "$program" >"$work/app.log" 2>&1 &
app=$!
elapsed_ms() { echo $(((${EPOCHREALTIME/./} - started) / 1000)); }
# The splash: the program's first visible window, its WM_CLASS the desktop id.
until xdotool search --onlyvisible --classname org.lumvane.Lumvane >/dev/null 2>&1; do
  [ "$(elapsed_ms)" -lt 5000 ] || { echo "the splash did not show within five seconds"; exit 1; }
  sleep 0.05
done
if xdotool search --onlyvisible --name '^Archive' >/dev/null 2>&1; then
  echo "the main window showed before the key"
  exit 1
fi
# The splash's own timer shows the main window six seconds after the program started: a main
# window before that can only be the key's doing. The key is pressed until then, since a slow
# machine may show the splash before the window manager has mapped it for the grab.
while [ "$(elapsed_ms)" -lt 5800 ]; do
  xdotool key space
  if xdotool search --onlyvisible --name '^Archive' >/dev/null 2>&1; then exit 0; fi
  sleep 0.1
done
echo "the main window did not show before the splash's own six seconds were over"
exit 1
