#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
# The synthesised directory data lies in build/disc/Quenrid215/: that folder is the disc drive.
export TOVAREL_DRIVES="${TOVAREL_DRIVES:-$PWD/build/disc}"
exec build/bin/quenrid215
