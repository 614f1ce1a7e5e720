#!/usr/bin/env bash
# Installs whatever of the build and run dependencies is missing (Debian 12).
# Safe to run again: it only calls apt-get when a package is absent.
set -euo pipefail
exec "$(dirname "$0")/install-missing" \
    cmake ninja-build g++ pkg-config \
    qt6-base-dev qt6-serialport-dev qt6-translations-l10n qt6-qpa-plugins \
    libgl-dev libgtest-dev \
    clang libclang-rt-14-dev \
    fonts-noto-cjk fonts-liberation \
    xdg-utils \
    librsvg2-bin \
    dpkg-dev file lintian desktop-file-utils appstream
