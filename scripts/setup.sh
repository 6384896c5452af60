#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test Quillgrid 5.
# Does nothing when everything is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config ccache
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-dev clang-format
    locales
    # The icon: Qt's SVG plugins show it, rsvg-convert draws its fixed sizes.
    libqt6svg6 librsvg2-bin
    # The printing test reads its PDF back as text.
    poppler-utils
    # The Debian package: cpack's dependencies (dpkg-shlibdeps, file), gzip
    # for the man pages, and lintian to check it.
    dpkg-dev file gzip lintian
)
# Showing the editor needs a display; without one, Xvfb provides it.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    packages+=(xvfb xauth)
fi

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The number tests switch the process to a locale with a decimal comma.
if ! locale -a | grep -qix 'de_DE\.utf-\?8'; then
    echo "Generating the de_DE.UTF-8 locale"
    if grep -q '^# *de_DE.UTF-8 UTF-8' /etc/locale.gen; then
        $sudo sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    elif ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen; then
        echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    fi
    $sudo locale-gen >/dev/null
fi
