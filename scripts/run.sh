#!/usr/bin/env bash
# Installs what is missing, builds ORVANE and starts the graphical program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default --target OrvaneGUI
# Data files (CIE points, fit weights, energy-level tables) are read from the current folder.
cd build/default
exec ./gui/OrvaneGUI "$@"
