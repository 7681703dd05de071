#!/usr/bin/env bash
# Builds the Debian package, installs it into a clean Debian 12 root
# (debootstrap minbase) and starts the installed program and widget host
# there on a virtual screen. Fails on a QML module or type that does not
# load, a font the views name that resolves to another, a file under
# /usr/local, or an autostart entry that desktops do not read.
# Usage: package-check.sh [SCREENSHOT_DIR]. Run as root (chroot, mounts).
# build/package-check keeps the base root, and that root with the package's
# dependencies installed for as long as they stay the same; delete it to
# start afresh.
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR="$PWD"
cache="$PWD/build/package-check"
shots="${1:-$cache/screenshots}"

bash tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vorlie_package_contents
rm -f build/release/vorlie_*.deb
(cd build/release && cpack -G DEB >/dev/null)
deb=$(echo build/release/vorlie_*.deb)

base="$cache/base"
root="$cache/root"
bash tools/package-root.sh "$base"

unmount() {
    for mount in "$1/var/cache/apt/archives" "$1/proc" "$1"; do
        if mountpoint -q "$mount"; then umount "$mount"; fi
    done
}
# Installs the package into ROOT as a user would, with what it depends on.
install_into() {
    cp "$deb" "$1/tmp/vorlie.deb"
    # fontconfig only for fc-match: the package brings the library itself.
    if ! { chroot "$1" apt-get install -y -qq --no-install-recommends -o Dpkg::Use-Pty=0 \
        /tmp/vorlie.deb fontconfig; } >"$cache/install.log" 2>&1; then
        cat "$cache/install.log" >&2
        return 1
    fi
}
export DEBIAN_FRONTEND=noninteractive

# The same dependencies resolve to the same packages, so a root that had
# them installed from the base (and the package removed again) stands in for
# the base: only a change of them costs a download and an install.
key=$(cat "$base/.complete" <(dpkg-deb --field "$deb" Depends) | sha256sum | cut -c1-16)
deps="$cache/deps-$key"
trap 'unmount "$root"; unmount "$deps.new"' EXIT
if [[ ! -d "$deps" ]]; then
    find "$cache" -maxdepth 1 -name 'deps-*' -exec rm -rf --one-file-system {} +
    cp -a "$base" "$deps.new"
    mount -t proc proc "$deps.new/proc"
    mkdir -p "$cache/archives/partial"
    mount --bind "$cache/archives" "$deps.new/var/cache/apt/archives"
    chroot "$deps.new" apt-get update -qq
    install_into "$deps.new"
    chroot "$deps.new" dpkg --purge vorlie >/dev/null
    unmount "$deps.new"
    mv "$deps.new" "$deps"
fi

# Each run starts from that root unchanged: its changes go to an overlay.
unmount "$root"
rm -rf --one-file-system "$root" "$cache/upper" "$cache/work"
mkdir -p "$root" "$cache/upper" "$cache/work"
mount -t overlay overlay -o "lowerdir=$deps,upperdir=$cache/upper,workdir=$cache/work" "$root"
mount -t proc proc "$root/proc"
install_into "$root"

fail=0
problem() { echo "package check: $*" >&2; fail=1; }

files=$(chroot "$root" dpkg -L vorlie)
if grep -q '^/usr/local' <<<"$files"; then problem "files under /usr/local: $(grep '^/usr/local' <<<"$files")"; fi
entry=/etc/xdg/autostart/vorlie-widget-host.desktop
if grep -qx "$entry" <<<"$files"; then
    desktop-file-validate "$root$entry" || problem "$entry is not a valid desktop entry"
else
    problem "no autostart entry at $entry"
fi
while IFS=$'\t' read -r family package; do
    resolved=$(chroot "$root" fc-match -f '%{family[0]}' "$family")
    [[ "$resolved" == "$family" ]] || problem "font \"$family\" ($package) resolves to \"$resolved\""
done < <(grep -v '^#' cmake/font-packages.tsv)

bash tools/package-run.sh "$root" "$shots" || fail=1
exit "$fail"
