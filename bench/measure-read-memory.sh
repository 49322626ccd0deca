#!/usr/bin/env bash
# Peak memory of tarnwell-run reading a .tw file of some 100 MB, in four shapes:
#  1. one comment line of 100 MB;
#  2. 100 MB of short comment lines;
#  3. one state whose name is 100 MB long;
#  4. a table of 2,000 states by 6,700 symbols (13,400,000 entries).
# Each file is run with one empty string; /usr/bin/time -v gives the peak
# resident memory, printed next to the budget of 2.5 times the file plus 30 MB.
# Usage: bench/measure-read-memory.sh [path/to/tarnwell-run]
# (default: build/release/src/cli/tarnwell-run, built with -DCMAKE_BUILD_TYPE=Release)
set -euo pipefail
cd "$(dirname "$0")/.."
run="${1:-build/release/src/cli/tarnwell-run}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
size=100000000

empty_automaton() { printf 'Q\r\n 0 \r\nStart\r\n 0 \r\nE\r\n 0 \r\nQ/E\r\n'; }
# `count` bytes of the letter x.
letters() { head -c "$1" /dev/zero | LC_ALL=C tr '\000' x; }

{ empty_automaton; printf '"'; letters $((size - 40)); printf '"\r\n'; } > "$work/long-comment.tw"

# Lines of 16 letters: 20 bytes each with the quotes and the line end.
{ empty_automaton; letters $(((size - 40) / 20 * 16)) | fold -w 16 | sed 's/.*/"&"\r/'; } > "$work/comment-lines.tw"

{ printf 'Q\r\n 1 \r\n'; letters $((size - 60)); printf '\r\nTrue\r\nStart\r\n 0 \r\nE\r\n 0 \r\nQ/E\r\n'; } \
    > "$work/long-name.tw"

# Symbols are CJK characters, one each; state i on symbol j goes to (7i + j) mod 2000 + 1.
awk 'BEGIN {
    n = 2000; m = 6700; printf "Q\r\n %d \r\n", n
    for (i = 0; i < n; i++) printf "s%d\r\nFalse\r\n", i
    printf "Start\r\n 0 \r\nE\r\n %d \r\n", m
    for (j = 0; j < m; j++) {
        c = 19968 + j
        printf "%c%c%c\r\n", 224 + int(c / 4096), 128 + int(c / 64) % 64, 128 + c % 64
    }
    printf "Q/E\r\n"
    for (i = 0; i < n; i++) for (j = 0; j < m; j++) printf " %d \r\n", (7 * i + j) % n + 1
}' > "$work/large-table.tw"

printf '%-20s %12s %14s %14s %s\n' file bytes "peak (MB)" "budget (MB)" "exit"
for name in long-comment comment-lines long-name large-table; do
    file="$work/$name.tw"
    bytes=$(stat -c %s "$file")
    report=$(/usr/bin/time -v "$run" "$file" '' 2>&1 >/dev/null || true)
    peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' <<< "$report")
    status=$(sed -n 's/.*Exit status: //p' <<< "$report")
    awk -v name="$name" -v bytes="$bytes" -v kb="$peak_kb" -v status="$status" 'BEGIN {
        printf "%-20s %12d %14.1f %14.1f %s\n", name, bytes, kb * 1024 / 1e6, (2.5 * bytes + 30e6) / 1e6, status
    }'
done
