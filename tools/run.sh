#!/usr/bin/env bash
# Builds vorlie, starts the local fake service with its sample people and the
# development push distributor, and opens the app against them.
set -euo pipefail
cd "$(dirname "$0")/.."

# The app starts signed in as the demo account; --signed-out starts it at the
# sign-in screen instead. Every other argument goes to the app.
signed_out=false
app_args=()
for arg in "$@"; do
    if [[ "$arg" == "--signed-out" ]]; then signed_out=true; else app_args+=("$arg"); fi
done

bash tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vorlie vorlie-fake-service vorlie-push-distributor vorlie-seed-session vorlie-widget-host

# Push and the credential store live on the session bus; a bare machine gets
# a private one with a throw-away keyring.
if [[ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]]; then
    echo "no desktop session: running inside a private D-Bus session with a throw-away keyring"
    exec bash tools/test-session.sh bash tools/run.sh "$@"
fi

logs="$(mktemp -d)"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$logs"' EXIT

# Starts a helper program and prints the address it reports on "listening on ...".
start() {
    local log="$logs/$1.log"
    shift
    "$@" >"$log" 2>&1 &
    pids+=($!)
    for _ in $(seq 200); do
        grep -q '^listening on ' "$log" && break
        sleep 0.05
    done
    sed -n 's/^listening on //p' "$log" | head -n1
}

base_url="$(start service build/release/tools/fake_service/vorlie-fake-service --port 0)"
[[ -n "$base_url" ]] || { echo "the fake service did not start" >&2; exit 1; }
echo "fake service: $base_url"
push_url="$(start push build/release/tools/push_distributor/vorlie-push-distributor --port 0)"
[[ -n "$push_url" ]] && echo "push distributor: $push_url" || echo "no push distributor: the app refreshes every 60 s instead"

export VORLIE_API_BASE_URL="$base_url"
export VORLIE_AVATAR_BASE_URL="${base_url%/api/v1}"

# The demo account signs in through the program's own sign-in, so its tokens
# sit in the keyring where the app looks for them.
seeder=build/release/tools/seed_session/vorlie-seed-session
if $signed_out; then
    "$seeder" --clear || true
elif ! "$seeder" --base-url "$base_url" --email quorrin@example.com --password vorlie-demo; then
    echo "the demo account could not be signed in: the app starts at the sign-in screen"
fi

echo "demo account: quorrin@example.com / vorlie-demo; Ctrl+C stops everything"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "no display found: the app runs on a virtual screen with a tray, photographed below"
    bash tools/headless-tour.sh "$PWD/build/screenshots" build/release/app/vorlie "${app_args[@]}"
    exit
fi
build/release/platform/widget_host/vorlie-widget-host >"$logs/widget-host.log" 2>&1 & pids+=($!)
build/release/app/vorlie "${app_args[@]}"
