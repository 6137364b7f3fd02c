#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need.
# Quick when all are present: it only asks dpkg.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config make clang-format
  qt6-base-dev libgl-dev qt6-translations-l10n
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav gstreamer1.0-alsa
  libasound2-dev libglib2.0-dev libical-dev libsystemd-dev
  fonts-wqy-microhei
  libgtest-dev libgmock-dev libbenchmark-dev
  dbus python3-dbusmock libglib2.0-bin
  xvfb x11-utils ccache faketime
  dpkg-dev file
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
