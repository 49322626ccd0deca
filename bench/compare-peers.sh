#!/usr/bin/env bash
# tarnwell-run against its peers on the same automata written as regular
# expressions: GNU grep -cxE, ripgrep -cx (reading standard input, and given
# the file by name, when it maps the file), and a bare flat-table loop process
# (compiled here from a few lines of C) that reads the same bytes and writes
# the same bytes tarnwell-run writes.
#
# Every program reads the input file on standard input (the file by name for
# the one ripgrep row) and writes into a pipe, `| wc -c`: never /dev/null, at
# which GNU grep stops at the first match. Each time is the median of --runs
# runs (at least 5) by hyperfine, after one warm-up run; before timing, the
# outputs are checked to agree (the count of ACCEPTED lines against the count
# of matching lines, and the loop's bytes against tarnwell-run's). Start-up
# (an empty input, no shell, no pipe) is a figure of its own. All run in the C
# locale.
#
# Automata: examples/divisible-by-3.tw, ^(0|1(01*0)*1)*$, and
# examples/ends-in-a.tw (over {a, b}), ^[ab]*a$.
#
# Usage: bench/compare-peers.sh [--runs N] [--lines "N ..."] [--chars "N ..."]
#                               [--all] [path/to/tarnwell-run]
#   --lines  numbers of 10-character lines (default 1000000)
#   --chars  lengths of the one long line (default 100000000)
#   --all    --lines "10000 100000 1000000 10000000"
#            --chars "1000000 10000000 100000000"
# The default tarnwell-run is build/release/src/cli/tarnwell-run (configure
# build/release with -DCMAKE_BUILD_TYPE=Release). Needs hyperfine, ripgrep and a
# C compiler (Debian: apt-get install hyperfine ripgrep gcc).
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
lines_list="1000000"
chars_list="100000000"
run=build/release/src/cli/tarnwell-run
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) runs="$2"; shift 2 ;;
        --lines) lines_list="$2"; shift 2 ;;
        --chars) chars_list="$2"; shift 2 ;;
        --all) lines_list="10000 100000 1000000 10000000"; chars_list="1000000 10000000 100000000"; shift ;;
        -*) echo "compare-peers.sh: unknown option $1" >&2; exit 2 ;;
        *) run="$1"; shift ;;
    esac
done
[ "$runs" -ge 5 ] || { echo "compare-peers.sh: --runs must be at least 5" >&2; exit 2; }
for tool in hyperfine rg grep cc; do
    command -v "$tool" > /dev/null || { echo "compare-peers.sh: $tool is not installed" >&2; exit 2; }
done
[ -x "$run" ] || { echo "compare-peers.sh: no tarnwell-run at $run" >&2; exit 2; }
run="$(realpath "$run")"
export LC_ALL=C

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The input: LINES lines of LENGTH random characters of ALPHABET, each ended by LF.
cat > "$work/generate.c" <<'EOF'
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
int main(int argc, char **argv)
{
    const char *alphabet = argv[1];
    long lines = atol(argv[2]), length = atol(argv[3]);
    size_t size = strlen(alphabet);
    unsigned long long x = 88172645463325252ULL;
    for (long l = 0; l < lines; ++l) {
        for (long i = 0; i < length; ++i) {
            x ^= x << 13; x ^= x >> 7; x ^= x << 17;
            putchar(alphabet[(x >> 32) % size]);
        }
        putchar('\n');
    }
    return 0;
}
EOF

# The floor: a flat table walked over the bytes of standard input, 64 KiB at
# a time as tarnwell-run reads, each line echoed with a tab and its verdict,
# written 64 KiB at a time. It knows nothing of errors, escapes or CR LF: the
# inputs here need none of that.
# Arguments: SYMBOLS FINALS TARGETS..., FINALS one 0 or 1 per state, TARGETS
# the 0-based next state for each state and symbol, row by row; start 0.
cat > "$work/floor.c" <<'EOF'
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
static char out[1 << 17];
static size_t used;
static void put(const void *bytes, size_t size)
{
    if (used + size > sizeof out) {
        if (write(1, out, used) != (ssize_t)used)
            exit(2);
        used = 0;
    }
    memcpy(out + used, bytes, size);
    used += size;
}
int main(int argc, char **argv)
{
    const char *symbols = argv[1], *finals = argv[2];
    unsigned width = strlen(symbols), states = strlen(finals);
    unsigned *table = malloc(sizeof *table * states * width), symbolOf[256] = {0};
    if (argc != 3 + (int)(states * width) || !table)
        return 2;
    for (unsigned k = 0; k < width; ++k)
        symbolOf[(unsigned char)symbols[k]] = k;
    for (unsigned i = 0; i < states * width; ++i)
        table[i] = (unsigned)atoi(argv[3 + i]) * width;
    static unsigned char in[1 << 16];
    unsigned s = 0;
    ssize_t count;
    while ((count = read(0, in, sizeof in)) > 0) {
        const unsigned char *p = in, *end = in + count;
        while (p < end) {
            const unsigned char *newline = memchr(p, '\n', end - p);
            const unsigned char *lineEnd = newline ? newline : end;
            put(p, lineEnd - p);
            for (; p < lineEnd; ++p)
                s = table[s + symbolOf[*p]];
            if (!newline)
                break;
            put(finals[s / width] == '1' ? "\tACCEPTED\n" : "\tREJECTED\n", 10);
            s = 0;
            p = newline + 1;
        }
    }
    if (used && write(1, out, used) != (ssize_t)used)
        return 2;
    return count < 0 ? 2 : 0;
}
EOF
cc -O2 -o "$work/generate" "$work/generate.c"
cc -O2 -o "$work/floor" "$work/floor.c"

# The automata, as the examples hold them and as the floor takes them.
declare -A automaton_file=([div3]=examples/divisible-by-3.tw [ends-in-a]=examples/ends-in-a.tw)
declare -A regex=([div3]='^(0|1(01*0)*1)*$' [ends-in-a]='^[ab]*a$')
declare -A alphabet=([div3]=01 [ends-in-a]=ab)
declare -A floor_args=([div3]='01 100 0 1 2 0 1 2' [ends-in-a]='ab 01 1 0 1 0')

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "tarnwell-run: $run"
echo "grep: $(grep --version | head -1); rg: $(rg --version | sed -n 1p); hyperfine: $(hyperfine --version)"
echo "median of $runs runs each, in MB/s of input (10^6 bytes per second); ratio = tarnwell-run's time / the program's"

# The programs, by name; each reads INPUT and writes into a pipe.
names=(tarnwell-run "grep -cxE" "rg -cx" "rg -cx FILE" "flat-table loop")
command_of() { # NAME AUTOMATON INPUT
    local tw="$PWD/${automaton_file[$2]}" re="${regex[$2]}"
    case "$1" in
        tarnwell-run) echo "'$run' '$tw' < '$3' | wc -c" ;;
        "grep -cxE") echo "grep -cxE '$re' < '$3' | wc -c" ;;
        "rg -cx") echo "rg -cx '$re' < '$3' | wc -c" ;;
        "rg -cx FILE") echo "rg -cx '$re' '$3' | wc -c" ;;
        "flat-table loop") echo "'$work/floor' ${floor_args[$2]} < '$3' | wc -c" ;;
    esac
}

# Checks that every program gives the same answer on INPUT; stops the script if not.
check_agreement() { # AUTOMATON INPUT
    local re="${regex[$1]}" accepted grep_count rg_count rg_file_count
    "$run" "${automaton_file[$1]}" < "$2" > "$work/tarnwell.out"
    "$work/floor" ${floor_args[$1]} < "$2" > "$work/floor.out"
    accepted=$(grep -c $'\tACCEPTED$' "$work/tarnwell.out" || true)
    grep_count=$(grep -cxE "$re" < "$2" || true)
    rg_count=$(rg -cx "$re" < "$2" || true)
    rg_file_count=$(rg -cx "$re" "$2" || true)
    if [ "$accepted" != "$grep_count" ] || [ "$accepted" != "${rg_count:-0}" ] \
        || [ "$accepted" != "${rg_file_count:-0}" ] || ! cmp -s "$work/tarnwell.out" "$work/floor.out"; then
        echo "outputs disagree: tarnwell-run $accepted ACCEPTED, grep $grep_count, rg ${rg_count:-0}," \
             "rg by name ${rg_file_count:-0}; the loop's output $(cmp -s "$work/tarnwell.out" "$work/floor.out" \
             && echo equals || echo differs from) tarnwell-run's" >&2
        exit 1
    fi
    echo "  outputs agree: $accepted ACCEPTED lines; the loop wrote tarnwell-run's $(wc -c < "$work/tarnwell.out") bytes"
}

# Times every program on INPUT with hyperfine into $work/times.csv.
time_programs() { # AUTOMATON INPUT RUNS WARMUP
    local args=() name
    for name in "${names[@]}"; do
        args+=(--command-name "$name" "$(command_of "$name" "$1" "$2")")
    done
    # Its warnings about a busy machine are what the load figures say already.
    hyperfine --runs "$3" --warmup "$4" --style none --export-csv "$work/times.csv" "${args[@]}" \
        > /dev/null 2> "$work/hyperfine.err" || { cat "$work/hyperfine.err" >&2; exit 1; }
}

for automaton in div3 ends-in-a; do
    for shape in $(for c in $chars_list; do echo "1x$c"; done; for l in $lines_list; do echo "${l}x10"; done); do
        in="$work/input.txt"
        "$work/generate" "${alphabet[$automaton]}" "${shape%x*}" "${shape#*x}" > "$in"
        echo
        if [ "${shape%x*}" = 1 ]; then
            echo "$automaton: one line of ${shape#*x} characters ($(wc -c < "$in") bytes)"
        else
            echo "$automaton: ${shape%x*} lines of 10 characters ($(wc -c < "$in") bytes)"
        fi
        check_agreement "$automaton" "$in"
        time_programs "$automaton" "$in" "$runs" 1
        awk -F, -v bytes="$(wc -c < "$in")" 'NR > 1 { name[NR] = $1; median[NR] = $4 }
            END {
                printf "  %-16s %10s %10s %22s\n", "program", "median s", "MB/s", "tarnwell-run / program"
                for (i = 2; i <= NR; i++)
                    printf "  %-16s %10.4f %10.1f %22.2f\n", name[i], median[i], bytes / median[i] / 1e6, median[2] / median[i]
            }' "$work/times.csv"
    done
done

# Start-up: each program alone on an empty standard input (hyperfine's own),
# no shell and no pipe, so the figure is the program's.
echo
echo "start-up: an empty input, divisible by 3 (median of $(( runs * 8 )) runs)"
hyperfine -N -i --runs "$(( runs * 8 ))" --warmup 5 --style none --export-csv "$work/times.csv" \
    --command-name tarnwell-run "'$run' '${automaton_file[div3]}'" \
    --command-name "grep -cxE" "grep -cxE '${regex[div3]}'" \
    --command-name "rg -cx" "rg -cx '${regex[div3]}'" \
    --command-name "flat-table loop" "'$work/floor' ${floor_args[div3]}" \
    > /dev/null 2> "$work/hyperfine.err" || { cat "$work/hyperfine.err" >&2; exit 1; }
awk -F, 'NR > 1 { printf "  %-16s %8.2f ms\n", $1, $4 * 1000 }' "$work/times.csv"
echo
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
