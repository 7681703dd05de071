#!/usr/bin/env bash
# Runs a command in a Wayland session of its own: sway on a headless output
# of 1280x800 with a private D-Bus session, as an unprivileged user when
# started as root (sway refuses root). `--tray` adds a bar whose tray is the
# StatusNotifierItem host. Exits 77 (skipped) when sway cannot start.
# Usage: sway-session.sh [--tray] command...
set -euo pipefail

tray=no
if [[ "${1:-}" == --tray ]]; then
    tray=yes
    shift
fi
if ! command -v sway >/dev/null; then
    echo "SKIPPED: sway is not installed (bash tools/install-deps.sh installs it)"
    exit 77
fi

session="$(mktemp -d /tmp/vorlie-sway.XXXXXX)"
trap 'rm -rf "$session"' EXIT
mkdir -m 0700 "$session/runtime"
{
    echo "output HEADLESS-1 resolution 1280x800 position 0 0"
    echo "xwayland disable"
    echo "default_border normal 2"
    if [[ $tray == yes ]]; then
        printf 'bar {\n    position top\n    tray_output *\n    status_command sleep infinity\n}\n'
    fi
} > "$session/config"

run_as=()
if [[ $(id -u) == 0 ]]; then
    chown -R nobody:nogroup "$session"
    run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env)
fi

# The sanitizer settings of the test preset survive the reset environment.
"${run_as[@]}" env PATH="$PATH" HOME="$session" XDG_RUNTIME_DIR="$session/runtime" LANG=C.UTF-8 \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    dbus-run-session -- bash -c '
    sway -c "$HOME/config" >"$HOME/sway.log" 2>&1 &
    sway_pid=$!
    for _ in $(seq 200); do
        socket=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null || true)
        [[ -n "$socket" && -S "$XDG_RUNTIME_DIR/wayland-1" ]] && break
        kill -0 $sway_pid 2>/dev/null || break
        sleep 0.05
    done
    if [[ -z "${socket:-}" ]]; then
        echo "SKIPPED: sway could not start:"; tail -5 "$HOME/sway.log"
        exit 77
    fi
    export SWAYSOCK="$socket" WAYLAND_DISPLAY=wayland-1
    status=0
    "$@" || status=$?
    kill $sway_pid
    wait $sway_pid 2>/dev/null || true
    exit $status
' sway-session "$@"
