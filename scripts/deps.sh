#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need, when any is missing.
set -euo pipefail

PACKAGES=(
    g++ cmake ninja-build pkg-config ccache
    clang libclang-rt-14-dev  # the fuzz build: libFuzzer and the sanitizer runtimes of clang
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
    libsqlite3-dev libssl-dev libjpeg62-turbo-dev libqrencode-dev libphonenumber-dev libicu-dev libzint-dev
    googletest libgtest-dev libbenchmark-dev
    fonts-ipafont-mincho fonts-ipafont-gothic
    qt6-translations-l10n tango-icon-theme
    xvfb xauth poppler-utils zbar-tools
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=()
else
    SUDO=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
