#!/usr/bin/env bash
# Without a display, run.sh shows the app on a virtual screen (Xvfb) with a
# tray, and this tour photographs it: the main window, the tray panel, the
# status picker and the settings. Usage: headless-tour.sh DIR PROGRAM [ARGS...]
# (the environment already points the program at the fake service). The
# program keeps running afterwards, until Ctrl+C.
set -euo pipefail
shots="$1"
shift
mkdir -p "$shots"

display=":$((90 + RANDOM % 400))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
unset QT_QPA_PLATFORM
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
trayer --edge top --align right --widthtype request --height 32 >/dev/null 2>&1 &
tray=$!
trap 'kill "${app:-}" "$tray" "$xvfb" 2>/dev/null || true' EXIT

"$@" &
app=$!

snap() { sleep "$2"; import -window root "$shots/$1.png"; echo "  $shots/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; }

echo "screenshots of the running app:"
snap main-window 5
click 1268 16          # the tray icon, at the right end of the tray
snap panel 2
click 1140 208         # the panel's "change my status"
snap status-picker 2
xdotool key Escape
click 1053 266         # the panel's "open vorlie" brings the main window back
sleep 1
click 435 21           # the main window's settings button
snap settings 2
xdotool key Escape
echo "the app keeps running on display $display; Ctrl+C stops everything"
wait "$app"
