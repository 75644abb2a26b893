#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the program need.
# Does nothing (quickly) when they are all present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  qt6-charts-dev libqt6charts6 libqt6opengl6-dev qt6-svg-dev libqt6svg6 fonts-dejavu-core
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang-format
  clang libclang-rt-14-dev llvm
  libdcmtk-dev dcmtk libgdcm-dev libgdcm-tools
  xvfb xauth x11-utils xdotool
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

cmd=(apt-get install -y --no-install-recommends "${missing[@]}")
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them as root with:" >&2
  echo "  sudo apt-get update && sudo ${cmd[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
"${cmd[@]}"
