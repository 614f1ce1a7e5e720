#!/usr/bin/env bash
# Installs whatever of the build and run dependencies is missing (Debian 12).
# Safe to run again: it only calls apt-get when a package is absent.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-serialport-dev qt6-translations-l10n qt6-qpa-plugins
    libgl-dev libgtest-dev
    clang libclang-rt-14-dev
    fonts-noto-cjk fonts-liberation
    xdg-utils
    librsvg2-bin
    dpkg-dev file lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
