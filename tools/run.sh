#!/usr/bin/env bash
# Builds vorlie, starts the local fake service with its sample people and
# opens the app against it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vorlie vorlie-fake-service

service_log="$(mktemp)"
build/release/tools/fake_service/vorlie-fake-service --port 0 >"$service_log" &
service_pid=$!
trap 'kill "$service_pid" 2>/dev/null || true; rm -f "$service_log"' EXIT
for _ in $(seq 200); do
    grep -q 'listening on' "$service_log" && break
    sleep 0.05
done
base_url="$(sed -n 's/^listening on //p' "$service_log" | head -n1)"
[[ -n "$base_url" ]] || { echo "the fake service did not start" >&2; exit 1; }
echo "fake service: $base_url"

export VORLIE_API_BASE_URL="$base_url"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "no display found: running without windows (QT_QPA_PLATFORM=offscreen)"
    export QT_QPA_PLATFORM=offscreen
fi
echo "demo account: quorrin@example.com / vorlie-demo; Ctrl+C stops both"
build/release/app/vorlie "$@"
