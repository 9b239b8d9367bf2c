#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, only when something is missing
# (dpkg-dev, desktop-file-utils, appstream and groff-base: the package and install checks;
# python3: tools/hostile.sh; qt6-translations-l10n: the gui tests read Qt's Portuguese).
# Usage: scripts/install-deps.sh [extra-package ...]
set -euo pipefail
packages=(build-essential cmake qt6-base-dev qt6-translations-l10n libpng-dev libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev fonts-dejavu-core \
    dpkg-dev desktop-file-utils appstream groff-base python3 "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages (${missing[*]}); run as root or install them with apt-get." >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi
