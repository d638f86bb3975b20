#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing both programs need.
set -euo pipefail

packages=(
    # native build and core tests
    cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev
    # Linux program and its tests
    qt6-base-dev dbus python3-dbusmock xvfb xauth x11-apps x11-utils fonts-wqy-zenhei
    # packaging (dpkg-shlibdeps)
    dpkg-dev file
    # screenshots, driving the windows in the benchmark
    xdotool imagemagick
    # Windows program, cross-compiled, and its end-to-end tests under Wine
    g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 wine fonts-wine
    # the footprint benchmark's reference: an established Qt shutdown utility
    kshutdown
)

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${packages[@]}"
