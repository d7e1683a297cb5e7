#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer into build-fuzz/ and runs one (or all) for a time.
#   bash scripts/fuzz.sh [NAME] [SECONDS]      NAME as in tests/fuzz/<NAME>Fuzz.cpp; SECONDS per target (60)
# New inputs go to build-fuzz/corpus/<NAME>/ (the committed seeds stay as they are); a crash leaves its
# input in build-fuzz/findings/<NAME>/. Add an input worth keeping to tests/fuzz/corpus/<NAME>/ by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
name="${1:-}"
seconds="${2:-60}"
bash scripts/deps.sh
bash scripts/configure.sh build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTOVAREL_FUZZ=ON -DTOVAREL_TESTS=OFF -DTOVAREL_BENCH=OFF
cmake --build build-fuzz --parallel "$(nproc)" --target tovarel_fuzz

targets=()
if [ -n "$name" ]; then
    [ -f "tests/fuzz/${name}Fuzz.cpp" ] || { echo "no fuzz target tests/fuzz/${name}Fuzz.cpp" >&2; exit 2; }
    targets=("$name")
else
    for f in tests/fuzz/*Fuzz.cpp; do
        n="$(basename "$f" Fuzz.cpp)"
        targets+=("$n")
    done
fi

status=0
for n in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$n" "build-fuzz/findings/$n"
    echo "== $n (${seconds}s)"
    "build-fuzz/fuzz/${n}Fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$n/" "build-fuzz/corpus/$n" "tests/fuzz/corpus/$n" || status=1
done
exit $status
