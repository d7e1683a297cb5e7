#!/usr/bin/env bash
# Builds the program and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --parallel "$(nproc)" --output-on-failure --timeout 600
