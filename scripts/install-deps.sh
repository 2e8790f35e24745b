#!/usr/bin/env bash
# Installs the Debian packages Kalvo needs that are not installed yet.
set -euo pipefail
PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-charts-dev
  qt6-svg-dev libqt6sql6-sqlite libqt6sql6-psql qt6-tools-dev qt6-l10n-tools libfontconfig-dev
  fonts-dejavu-core xvfb xauth xdotool imagemagick postgresql)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q || true
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
