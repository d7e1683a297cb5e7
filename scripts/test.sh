#!/usr/bin/env bash
# Builds the test suite and the fuzz targets with AddressSanitizer and UndefinedBehaviorSanitizer (clang) into
# build-test/ and runs it headless: every test, and every fuzz target once over its committed seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/configure.sh build-test -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTOVAREL_SANITIZE=ON -DTOVAREL_BENCH=OFF
cmake --build build-test --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd build-test
ctest --parallel "$(nproc)" --output-on-failure --timeout 600
