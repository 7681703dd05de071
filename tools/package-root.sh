#!/usr/bin/env bash
# Makes DIR a clean Debian 12 root (debootstrap minbase) that fetches from the
# same Debian mirrors as this machine, unless DIR already is one.
# Usage: package-root.sh DIR
set -euo pipefail
base="$1"
[[ -e "$base/.complete" ]] && exit 0

# The Debian suites this machine installs from, as "URI SUITE" lines.
suites=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Identifier: Packages' |
    awk '$2 ~ /^bookworm(-updates|-security)?$/' | sort -u)
mirror=$(awk '$2 == "bookworm" { print $1; exit }' <<<"$suites")
[[ -n "$mirror" ]] || { echo "package-root: no bookworm mirror in /etc/apt" >&2; exit 1; }

mkdir -p "$(dirname "$base")"
rm -rf --one-file-system "$base"
debootstrap --variant=minbase bookworm "$base" "$mirror" >"$base.log" 2>&1 ||
    { tail -20 "$base.log" >&2; exit 1; }
awk '{ print "deb " $1 " " $2 " main" }' <<<"$suites" >"$base/etc/apt/sources.list"
chroot "$base" apt-get update -qq
date -u +%FT%TZ >"$base/.complete"
