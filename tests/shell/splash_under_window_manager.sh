#!/usr/bin/env bash
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
XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work "$program" >"$work/app.log" 2>&1 &
app=$!
# The splash: the program's first visible window.
for _ in $(seq 100); do
  xdotool search --onlyvisible --classname lumvane-window >/dev/null 2>&1 && break
  sleep 0.05
done
sleep 0.3
if xdotool search --onlyvisible --name '^Archive' >/dev/null 2>&1; then
  echo "the main window showed before the key"
  exit 1
fi
xdotool key space
# The splash's own timer would show the main window after six seconds: within two of the key
# it can only be the key.
for _ in $(seq 20); do
  if xdotool search --onlyvisible --name '^Archive' >/dev/null 2>&1; then exit 0; fi
  sleep 0.1
done
echo "the main window did not show within two seconds of the key"
exit 1
