#!/usr/bin/env bash
# Starts the installed vorlie and, by its autostart entry as a session would,
# the widget host inside ROOT as an ordinary user on a virtual screen;
# photographs them into SHOTS once they have drawn, and fails when a window
# stays blank or their output says a module, type, plug-in or library did
# not load. Usage: package-run.sh ROOT SHOTS
set -euo pipefail
root="$1"
shots="$2"
mkdir -p "$shots"
rm -f "$root/tmp/done" "$root"/tmp/*.log

# The root reaches this Xvfb through its abstract socket, which is not a
# file. Xvfb picks a free display and names it once it accepts clients.
rm -f "$shots/.display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$shots/.display" >/dev/null 2>&1 &
xvfb=$!
stop() {
    if [[ -n "${session:-}" ]]; then kill -- "-$session" 2>/dev/null || true; fi
    kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap stop EXIT
for _ in $(seq 200); do [[ -s "$shots/.display" ]] && break; sleep 0.05; done
[[ -s "$shots/.display" ]] || { echo "package check: Xvfb did not start" >&2; exit 1; }
display=":$(<"$shots/.display")"
rm "$shots/.display"
export DISPLAY="$display"

chroot "$root" sh -c 'id tester >/dev/null 2>&1 || useradd -m tester;
    install -d -m 0700 -o tester -g tester /tmp/runtime-tester'
host=$(sed -n 's/^Exec=//p' "$root/etc/xdg/autostart/vorlie-widget-host.desktop")
setsid chroot --userspec=tester:tester "$root" env -i HOME=/home/tester USER=tester PATH=/usr/bin:/bin \
    DISPLAY="$display" QT_QPA_PLATFORM=xcb LANG=C.UTF-8 XDG_RUNTIME_DIR=/tmp/runtime-tester \
    dbus-run-session -- sh -c "vorlie >/tmp/vorlie.log 2>&1 & app=\$!
        $host >/tmp/host.log 2>&1 & widgets=\$!
        until [ -e /tmp/done ]; do sleep 0.1; done
        kill \$app \$widgets; wait" &
session=$!

# Waits until WINDOW shows more than a plain fill and two captures a moment
# apart agree (fonts and pictures arrive after the first frame), and keeps
# the last capture in FILE.
drawn() {
    local previous= colours current
    for _ in $(seq 80); do
        # A window that is being mapped again can give no capture at all.
        colours=0 current=
        if xwd -silent -id "$1" >"$2.xwd" 2>/dev/null; then
            read -r colours current < <(/usr/bin/convert "xwd:$2.xwd" -format '%k %#' info: 2>/dev/null) || true
        fi
        if [[ -n "$current" && "$current" == "$previous" ]] && ((colours > 16)); then
            /usr/bin/convert "xwd:$2.xwd" "$2" && rm "$2.xwd"
            return 0
        fi
        previous=$current
        sleep 0.25
    done
    return 1
}

fail=0
for class in vorlie vorlie-widget-host; do
    window=$(timeout 30 xdotool search --sync --onlyvisible --classname "^$class\$" | head -n1) ||
        { echo "package check: no $class window appeared" >&2; fail=1; continue; }
    drawn "$window" "$shots/$class.png" || { echo "package check: the $class window stays blank" >&2; fail=1; }
done
import -window root "$shots/screen.png"
touch "$root/tmp/done"
timeout 20 tail --pid="$session" -f /dev/null || true

for log in vorlie host; do
    if grep -E '^qrc:/|is not installed|is not a type|unavailable|not found|[Cc]annot load|[Cc]ould not load|[Ff]ailed to (load|create)' \
        "$root/tmp/$log.log" >&2; then
        echo "package check: the installed $log reported the lines above" >&2
        fail=1
    fi
done
echo "screenshots in $shots"
exit "$fail"
