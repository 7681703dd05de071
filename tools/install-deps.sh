#!/usr/bin/env bash
# Installs the Debian 12 packages vorlie needs to build, run and test; quick
# and silent when they are all there already.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config ccache
    qt6-base-dev qt6-declarative-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts
    qml6-module-qtquick-window qml6-module-qtqml-workerscript qml6-module-qtquick-templates
    qml6-module-qtqml qml6-module-qtqml-models
    qtkeychain-qt6-dev qcoro-qt6-dev libsecret-1-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    gnome-keyring dbus dbus-x11 xvfb xauth libgl1-mesa-dri fonts-noto-color-emoji at-spi2-core
    fonts-material-design-icons-iconfont trayer xdotool
    libxcb1-dev libfontconfig-dev librsvg2-bin desktop-file-utils appstream dpkg-dev
    fonts-quicksand qml6-module-qtquick-shapes imagemagick xdotool x11-utils x11-apps xdg-utils
    debootstrap
    sway grim qt6-wayland libwayland-dev wayland-protocols libxkbcommon-dev
)
if [[ "${1:-}" == "--with-fuzz" ]]; then
    packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
