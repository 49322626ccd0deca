#!/usr/bin/env bash
# Builds a fuzzer with clang (AddressSanitizer and UndefinedBehaviorSanitizer
# on) into build/fuzz and runs it for the given number of seconds (default 60)
# in one process. The target is fuzz_tw_reader (the reader in memory, the
# default), fuzz_tw_file (through real files: open, read, save),
# fuzz_string_list (lists of strings), fuzz_graphviz_json (Graphviz's JSON),
# fuzz_regex (the expression parser) or fuzz_jff_reader (JFLAP files).
# New inputs that reach new code go to fuzz/corpus-work/TARGET/; the seeds
# (fuzz/corpus/ for the .tw targets, fuzz/corpus-string-list/,
# fuzz/corpus-graphviz-json/, fuzz/corpus-regex/, fuzz/corpus-jff/) are only
# read. A crash leaves its input as fuzz/crash-* and makes the script fail.
# Usage: fuzz/run-fuzzer.sh [SECONDS] [TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
target="${2:-fuzz_tw_reader}"

CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARNWELL_BUILD_FUZZERS=ON -DTARNWELL_SANITIZE=ON -DTARNWELL_BUILD_TESTS=OFF >/dev/null
cmake --build build/fuzz --parallel 2 --target "$target"

case "$target" in
    fuzz_string_list) seeds=fuzz/corpus-string-list dictionary=fuzz/string-list.dict ;;
    fuzz_graphviz_json) seeds=fuzz/corpus-graphviz-json dictionary=fuzz/graphviz-json.dict ;;
    fuzz_regex) seeds=fuzz/corpus-regex dictionary=fuzz/regex.dict ;;
    fuzz_jff_reader) seeds=fuzz/corpus-jff dictionary=fuzz/jff.dict ;;
    *) seeds=fuzz/corpus dictionary=fuzz/tw.dict ;;
esac

mkdir -p "fuzz/corpus-work/$target"
# fuzz_tw_file writes, syncs and reads files for every input: in memory when
# the system has a memory file system, so the disk is not what is measured.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
exec "build/fuzz/fuzz/$target" -max_total_time="$seconds" \
    -max_len=4096 -dict="$dictionary" -artifact_prefix=fuzz/ -print_final_stats=1 \
    "fuzz/corpus-work/$target" "$seeds"
