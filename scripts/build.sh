#!/usr/bin/env bash
# Configures and builds the plain program into build/ (the program lands in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/configure.sh build "$@"
cmake --build build --parallel "$(nproc)"
