#!/usr/bin/env bash
# Measures tarnwell-run as a whole process with /usr/bin/time -v:
#  1. a 60-byte file claiming 32767 states and 32767 symbols (refused);
#  2. one input line of 10,000,000 characters through 1,000 states.
# Usage: bench/measure-run.sh [path/to/tarnwell-run]
# (default: build/bench/src/cli/tarnwell-run, built with -DCMAKE_BUILD_TYPE=Release)
set -euo pipefail
cd "$(dirname "$0")/.."
run="${1:-build/bench/src/cli/tarnwell-run}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

printf 'Q\r\n 32767 \r\nq\r\nFalse\r\nStart\r\n 0 \r\nE\r\n 32767 \r\na\r\nQ/E\r\n 1 \r\n\n' > "$work/claim.tw"
echo "claim.tw: $(wc -c < "$work/claim.tw") bytes"
/usr/bin/time -v "$run" "$work/claim.tw" x 2>&1 >/dev/null \
    | grep -E 'tarnwell-run:|Elapsed|Maximum resident' || true

# Binary numbers modulo 1000: state r goes to (2r + bit) mod 1000.
awk 'BEGIN {
    n = 1000; printf "Q\r\n %d \r\n", n
    for (r = 0; r < n; r++) printf "r%d\r\n%s\r\n", r, (r == 0 ? "True" : "False")
    printf "Start\r\n 0 \r\nE\r\n 2 \r\n0\r\n1\r\nQ/E\r\n"
    for (r = 0; r < n; r++) printf " %d \r\n %d \r\n", (2 * r) % n + 1, (2 * r + 1) % n + 1
}' > "$work/modulo.tw"
# Random bits: each random byte becomes 0 or 1 by its lowest bit.
{ head -c 10000000 /dev/urandom | LC_ALL=C tr '\000-\377' "$(printf '01%.0s' {1..128})"; echo; } > "$work/line.txt"
echo "line.txt: $(wc -c < "$work/line.txt") bytes"
/usr/bin/time -v "$run" "$work/modulo.tw" < "$work/line.txt" 2>&1 >/dev/null \
    | grep -E 'Elapsed|Maximum resident|Exit status'
