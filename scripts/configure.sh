#!/usr/bin/env bash
# Configures one build folder: bash scripts/configure.sh DIR [cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir="$1"
shift
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
