#!/usr/bin/env bash
# Builds the .tw reader's fuzzer with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) into build/fuzz and runs it for the given
# number of seconds (default 60) in one process. New inputs that reach new
# code go to fuzz/corpus-work/; the seeds in fuzz/corpus/ are only read.
# A crash leaves its input as fuzz/crash-* and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARNWELL_BUILD_FUZZERS=ON -DTARNWELL_SANITIZE=ON -DTARNWELL_BUILD_TESTS=OFF >/dev/null
cmake --build build/fuzz --parallel 2 --target fuzz_tw_reader

mkdir -p fuzz/corpus-work
exec build/fuzz/fuzz/fuzz_tw_reader -max_total_time="$seconds" \
    -max_len=4096 -dict=fuzz/tw.dict -artifact_prefix=fuzz/ -print_final_stats=1 \
    fuzz/corpus-work fuzz/corpus
