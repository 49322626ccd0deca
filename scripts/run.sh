#!/usr/bin/env bash
# Sets Tarnwell up and starts it: installs what is missing, builds in Release
# into build/release, and runs the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTARNWELL_BUILD_TESTS=OFF
cmake --build build/release --parallel "$(nproc)" --target tarnwell
exec build/release/src/app/tarnwell "$@"
