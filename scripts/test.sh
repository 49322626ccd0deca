#!/usr/bin/env bash
# Runs the whole test suite: installs what is missing, builds with
# AddressSanitizer and UndefinedBehaviorSanitizer into build/sanitize, and runs
# every test through ctest on Qt's offscreen platform (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DTARNWELL_SANITIZE=ON -DTARNWELL_BUILD_TESTS=ON
cmake --build build/sanitize --parallel "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir build/sanitize --output-on-failure --parallel "$(nproc)"
