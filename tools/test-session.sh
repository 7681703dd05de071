#!/usr/bin/env bash
# Runs a command inside a private D-Bus session with an unlocked, throw-away
# Secret Service, e.g. `bash tools/test-session.sh build/debug/tests/platform/platform_tests`.
set -euo pipefail

keyring_home="$(mktemp -d)"
trap 'rm -rf "$keyring_home"' EXIT
export KEYRING_HOME="$keyring_home"
dbus-run-session --config-file="$(cd "$(dirname "$0")" && pwd)/test-session.conf" -- bash -c '
    set -euo pipefail
    # The daemon keeps its keyring under a throw-away data directory.
    eval "$(printf %s test | XDG_DATA_HOME="$KEYRING_HOME" gnome-keyring-daemon --unlock --components=secrets)"
    export GNOME_KEYRING_CONTROL
    # Wait by name only: calling the service before it is up would D-Bus-activate a second, locked daemon.
    for _ in $(seq 500); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
            string:org.freedesktop.secrets 2>/dev/null | grep -q true && break
        sleep 0.01
    done
    "$@"
' test-session "$@"
