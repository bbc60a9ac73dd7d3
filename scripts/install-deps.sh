#!/usr/bin/env bash
# Installs the Debian packages that building and testing ORVANE need.
# Idempotent: it asks apt only for what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  qtbase5-dev libqt5opengl5-dev libqcustomplot-dev libeigen3-dev
  freeglut3-dev libglu1-mesa-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # jwm: the window manager that maximises windows in the start-up tests on Xvfb
  xvfb xauth jwm mopac openbabel
  python3-numpy python3-sympy
  # the CIE 1931 colour-matching functions that CIEpoints.txt is made from
  colord-data
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
