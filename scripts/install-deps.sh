#!/usr/bin/env bash
# Installs, with apt-get, whichever of Tarnwell's build and test packages are
# missing. Needs root, or sudo for a normal user. Safe to run again: when
# everything is there it installs nothing and asks for nothing.
set -euo pipefail

packages=(
    build-essential cmake
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev qt6-svg-dev
    qt6-base-private-dev
    graphviz
    libbenchmark-dev
    fonts-dejavu-core fonts-liberation2
)

missing=()
for pkg in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$pkg")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "These packages are missing and installing them needs root or sudo: ${missing[*]}" >&2
    exit 1
fi
"${sudo[@]}" apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
