#!/usr/bin/env bash
# Builds and runs the benchmarks (optionally only those whose name contains $1).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
# Only the benchmark programs themselves: build/bench also holds their *_autogen folders.
for b in build/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    case "$(basename "$b")" in *"${1:-}"*) echo "== $b"; "$b" ;; esac
done
