#!/usr/bin/env bash
# Configures and builds everything into build/ (the program lands in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build --parallel "$(nproc)"
