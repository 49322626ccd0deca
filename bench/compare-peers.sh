#!/usr/bin/env bash
# tarnwell-run against its peers on the same automata written as regular
# expressions, and against the floors of the same work, with the results as
# the README's speed tables. Two kinds of work:
#
#  counting the accepted lines: tarnwell-run --count; GNU grep -cxE; ripgrep
#    -cx reading standard input, and given the file by name (it then maps the
#    file); and the counting floor, a loop compiled here from a few lines of C
#    that reads 256 KiB at a time, walks a flat table over every byte and
#    counts the verdict at each LF;
#  printing lines: tarnwell-run's results (each line, a tab, its verdict),
#    against the echoing loop, the same table walk writing those same bytes
#    (64 KiB reads, each line found with memchr and copied); and the accepted
#    lines alone: tarnwell-run --only ACCEPTED, GNU grep -xE, ripgrep -x
#    (standard input, and the file by name).
#
# Every program reads the input on standard input (the FILE rows: by name) and
# writes into a pipe that the timer, also compiled here, reads to its end; a
# run's time is from starting the program to its exit. The programs run in
# turns: each of --runs rounds runs every program once, in an order that
# rotates from round to round, so that a busy moment falls on all of them.
# A figure is the median of a program's runs; a ratio is the median of the
# ratios of the runs of one round. Before timing, the outputs are checked to
# agree (the counts, and the bytes of every printing program against its
# row's reference). Start-up is each program on an empty file. The most memory
# each program held on any input comes last. All run in the
# C locale. The load (the 1-minute average) is printed with each input's
# figures: on a busy machine they say less.
#
# Automata: examples/divisible-by-3.tw, ^(0|1(01*0)*1)*$, and
# examples/ends-in-a.tw (over {a, b}), ^[ab]*a$.
#
# Usage: bench/compare-peers.sh [--runs N] [--lines "N ..."] [--chars "N ..."]
#                               [--all] [path/to/tarnwell-run]
#   --runs   rounds (at least 5, default 7)
#   --lines  numbers of 10-character lines (default "1000000 10000000")
#   --chars  lengths of the one long line (default 100000000)
#   --all    --lines "10000 100000 1000000 10000000"
#            --chars "1000000 10000000 100000000"
# The default tarnwell-run is build/release/src/cli/tarnwell-run (configure
# build/release with -DCMAKE_BUILD_TYPE=Release). Needs ripgrep and a C
# compiler (Debian: apt-get install ripgrep gcc).
set -euo pipefail
cd "$(dirname "$0")/.."

runs=7
lines_list="1000000 10000000"
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
for tool in rg grep cc; do
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

# The two loops take the automaton as SYMBOLS FINALS TARGETS..., FINALS one
# 0 or 1 per state, TARGETS the 0-based next state for each state and symbol,
# row by row; start 0. They know nothing of errors, escapes or CR LF: the
# inputs here need none of that.
cat > "$work/table.h" <<'EOF'
#include <stdlib.h>
#include <string.h>
static unsigned width, states, *table, symbolOf[256];
static const char *finals;
static int readTable(int argc, char **argv)
{
    const char *symbols = argv[1];
    finals = argv[2];
    width = strlen(symbols);
    states = strlen(finals);
    table = malloc(sizeof *table * states * width);
    if (argc != 3 + (int)(states * width) || !table)
        return 0;
    for (unsigned k = 0; k < width; ++k)
        symbolOf[(unsigned char)symbols[k]] = k;
    for (unsigned i = 0; i < states * width; ++i)
        table[i] = (unsigned)atoi(argv[3 + i]) * width;
    return 1;
}
EOF

# The counting floor: 256 KiB reads, one table step per byte, and at each LF
# one count for the state reached. Prints what tarnwell-run --count prints.
cat > "$work/count.c" <<'EOF'
#include "table.h"
#include <stdio.h>
#include <unistd.h>
int main(int argc, char **argv)
{
    if (!readTable(argc, argv))
        return 2;
    unsigned long long *reached = calloc(states * width, sizeof *reached), accepted = 0, rejected = 0;
    static unsigned char in[1 << 18];
    unsigned s = 0;
    ssize_t count;
    while ((count = read(0, in, sizeof in)) > 0)
        for (const unsigned char *p = in, *end = in + count; p != end; ++p) {
            if (*p == '\n') {
                ++reached[s];
                s = 0;
            } else {
                s = table[s + symbolOf[*p]];
            }
        }
    for (unsigned i = 0; i < states; ++i)
        *(finals[i] == '1' ? &accepted : &rejected) += reached[i * width];
    printf("ACCEPTED %llu\nREJECTED %llu\nERROR 0\n", accepted, rejected);
    return count < 0 ? 2 : 0;
}
EOF

# The echoing loop: 64 KiB reads, each line echoed with a tab and its verdict,
# written 128 KiB at a time: the bytes tarnwell-run writes.
cat > "$work/echo.c" <<'EOF'
#include "table.h"
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
    if (!readTable(argc, argv))
        return 2;
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

# The timer: ROUNDS INPUT -- NAME PROGRAM ARGS... -- NAME PROGRAM ARGS...
# Runs the programs in turns, standard input from INPUT and standard output
# into a pipe it reads to the end; prints per program its name, the bytes it
# wrote, the most memory it held (resident, in KiB) and the seconds of each
# run, tab-separated. A program that ends with a status above 1 (grep and
# ripgrep end with 1 when nothing matched) stops it.
cat > "$work/timer.c" <<'EOF'
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
enum { maxPrograms = 32, maxRounds = 1000 };
static char **argvOf[maxPrograms];
static const char *nameOf[maxPrograms];
static double seconds[maxPrograms][maxRounds];
static long long written[maxPrograms], memory[maxPrograms];
static char buffer[1 << 18];
static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}
static double runOnce(int i, const char *input)
{
    int out[2];
    if (pipe(out) != 0)
        exit(2);
    const double start = now();
    const pid_t child = fork();
    if (child == 0) {
        const int in = open(input, O_RDONLY);
        if (in < 0 || dup2(in, 0) < 0 || dup2(out[1], 1) < 0)
            _exit(127);
        close(in);
        close(out[0]);
        close(out[1]);
        execvp(argvOf[i][0], argvOf[i]);
        _exit(127);
    }
    close(out[1]);
    long long bytes = 0;
    ssize_t got;
    while ((got = read(out[0], buffer, sizeof buffer)) > 0)
        bytes += got;
    close(out[0]);
    int status = 0;
    struct rusage usage;
    wait4(child, &status, 0, &usage);
    const double taken = now() - start;
    if (usage.ru_maxrss > memory[i])
        memory[i] = usage.ru_maxrss;
    if (child < 0 || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        fprintf(stderr, "timer: %s failed\n", nameOf[i]);
        exit(1);
    }
    written[i] = bytes;
    return taken;
}
int main(int argc, char **argv)
{
    const int rounds = argc > 2 ? atoi(argv[1]) : 0;
    int programs = 0;
    for (int a = 3; a + 2 < argc; ++a)
        if (strcmp(argv[a], "--") == 0 && programs < maxPrograms) {
            nameOf[programs] = argv[a + 1];
            argvOf[programs++] = argv + a + 2;
            argv[a] = NULL;
        }
    if (rounds < 1 || rounds > maxRounds || programs == 0)
        return 2;
    for (int r = 0; r < rounds; ++r)
        for (int k = 0; k < programs; ++k) {
            const int i = (r + k) % programs;
            seconds[i][r] = runOnce(i, argv[2]);
        }
    for (int i = 0; i < programs; ++i) {
        printf("%s\t%lld\t%lld", nameOf[i], written[i], memory[i]);
        for (int r = 0; r < rounds; ++r)
            printf("\t%.6f", seconds[i][r]);
        printf("\n");
    }
    return 0;
}
EOF
for program in generate count echo timer; do
    cc -O2 -I"$work" -o "$work/$program" "$work/$program.c"
done

# The automata, as the examples hold them and as the loops take them.
declare -A automaton_file=([div3]="$PWD/examples/divisible-by-3.tw" [ends-in-a]="$PWD/examples/ends-in-a.tw")
declare -A automaton_name=([div3]="divisible by 3" [ends-in-a]="ends in a")
declare -A regex=([div3]='^(0|1(01*0)*1)*$' [ends-in-a]='^[ab]*a$')
declare -A alphabet=([div3]=01 [ends-in-a]=ab)
declare -A table_args=([div3]='01 100 0 1 2 0 1 2' [ends-in-a]='ab 01 1 0 1 0')

time_programs() { # INPUT -- NAME PROGRAM ARGS ...
    local input="$1"; shift
    "$work/timer" "$runs" "$input" "$@" > "$work/times.tsv"
    cut -f1,3 "$work/times.tsv" >> "$work/memory.tsv"
}

# The name of an input: "one line of 10^8 characters", "10^6 lines of 10 characters".
power() { # N: 10^k when N is a power of ten
    local n="$1" k=0
    while [ "$n" -ge 10 ] && [ $((n % 10)) -eq 0 ]; do n=$((n / 10)); k=$((k + 1)); done
    [ "$n" -eq 1 ] && [ "$k" -gt 1 ] && echo "10^$k" || echo "$1"
}

load() { cut -d' ' -f1 /proc/loadavg; }

# The median of values[1..n], for awk.
median='
    function median(values, n,   i, j, t) {
        for (i = 2; i <= n; i++) {
            t = values[i]
            for (j = i - 1; j >= 1 && values[j] > t; j--) values[j + 1] = values[j]
            values[j + 1] = t
        }
        return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
    }
'

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo), Linux $(uname -r)"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "tarnwell-run: $run"
echo "$(grep --version | head -1); $(rg --version | head -1)"
echo "$runs rounds; MB/s of input (10^6 bytes per second), the median of the runs"

counting_rows="" printing_rows="" ratio_rows=""
# Adds to the tables the figures of $work/times.tsv for the input of BYTES
# bytes named NAME: MB/s of the programs in order into TABLE's rows, and the
# paired ratios RATIOS ("a/b c/d", by position) into the ratio rows.
add_figures() { # TABLE NAME BYTES RATIOS
    local row ratios
    row=$(awk -F'\t' -v bytes="$3" -v name="$2" -v load="$(load)" "$median"'
        { n = NF - 3; for (r = 1; r <= n; r++) { v[r] = $(r + 3) }; m = median(v, n)
          out = out sprintf(" %.0f |", bytes / m / 1e6) }
        END { printf "| %s | %s |%s\n", name, load, out }' "$work/times.tsv")
    ratios=$(awk -F'\t' -v pairs="$4" "$median"'
        { for (r = 4; r <= NF; r++) t[NR, r - 3] = $r; n = NF - 3 }
        END {
            count = split(pairs, pair, " ")
            for (k = 1; k <= count; k++) {
                split(pair[k], ab, "/")
                for (r = 1; r <= n; r++) v[r] = t[ab[1], r] / t[ab[2], r]
                printf " %.2f |", median(v, n)
            }
        }' "$work/times.tsv")
    local -n table="$1"
    table+="$row"$'\n'
    ratio_rows+="$ratios"
}

for automaton in div3 ends-in-a; do
    for shape in $(for c in $chars_list; do echo "1x$c"; done; for l in $lines_list; do echo "${l}x10"; done); do
        in="$work/input.txt"
        "$work/generate" "${alphabet[$automaton]}" "${shape%x*}" "${shape#*x}" > "$in"
        bytes=$(wc -c < "$in")
        if [ "${shape%x*}" = 1 ]; then
            name="${automaton_name[$automaton]}, one line of $(power "${shape#*x}") characters"
        else
            name="${automaton_name[$automaton]}, $(power "${shape%x*}") lines of 10 characters"
        fi
        echo >&2 "timing: $name"
        tw="${automaton_file[$automaton]}" re="${regex[$automaton]}"
        # shellcheck disable=SC2206
        loop_args=(${table_args[$automaton]})

        # Counting: every program's count of accepted lines is the same.
        time_programs "$in" \
            -- "tarnwell-run --count" "$run" --count "$tw" \
            -- "grep -cxE" grep -cxE "$re" \
            -- "rg -cx" rg -cx "$re" \
            -- "rg -cx FILE" rg -cx "$re" "$in" \
            -- "counting floor" "$work/count" "${loop_args[@]}"
        counted="$("$run" --count "$tw" < "$in" | sed -n 's/^ACCEPTED //p')"
        for count in "$(grep -cxE "$re" < "$in" || true)" "$(rg -cx "$re" < "$in" || echo 0)" \
            "$(rg -cx "$re" "$in" || echo 0)" "$("$work/count" "${loop_args[@]}" < "$in" | sed -n 's/^ACCEPTED //p')"; do
            [ "$count" = "$counted" ] || { echo "compare-peers.sh: counts disagree on $name: $counted, $count" >&2; exit 1; }
        done
        add_figures counting_rows "$name" "$bytes" "1/5 1/4"

        # Printing: the results against the echoing loop's bytes, and the
        # accepted lines of every program alike.
        time_programs "$in" \
            -- "tarnwell-run" "$run" "$tw" \
            -- "echoing loop" "$work/echo" "${loop_args[@]}" \
            -- "tarnwell-run --only ACCEPTED" "$run" --only ACCEPTED "$tw" \
            -- "grep -xE" grep -xE "$re" \
            -- "rg -x" rg -x "$re" \
            -- "rg -x FILE" rg -x "$re" "$in"
        "$run" "$tw" < "$in" > "$work/results"
        "$work/echo" "${loop_args[@]}" < "$in" | cmp -s - "$work/results" \
            || { echo "compare-peers.sh: the echoing loop's bytes differ from tarnwell-run's on $name" >&2; exit 1; }
        "$run" --only ACCEPTED "$tw" < "$in" > "$work/accepted"
        for program in "grep -xE $re" "rg -x $re"; do
            # shellcheck disable=SC2086
            { $program < "$in" || true; } | cmp -s - "$work/accepted" \
                || { echo "compare-peers.sh: $program prints other lines than --only ACCEPTED on $name" >&2; exit 1; }
        done
        { rg -x "$re" "$in" || true; } | cmp -s - "$work/accepted" \
            || { echo "compare-peers.sh: rg -x FILE prints other lines than --only ACCEPTED on $name" >&2; exit 1; }
        add_figures printing_rows "$name" "$bytes" "1/2 3/4 3/5 3/6"
        ratio_rows+=$'\n'
    done
done

echo
echo "Counting the accepted lines, MB/s (load: the 1-minute average as the input's runs ended):"
echo
echo "| input | load | tarnwell-run \`--count\` | GNU grep \`-cxE\` | ripgrep \`-cx\` | ripgrep \`-cx\` FILE | counting floor |"
echo "|---|---|---|---|---|---|---|"
printf '%s' "$counting_rows"
echo
echo "Printing lines, MB/s: tarnwell-run's results and the echoing loop write each line and its verdict; the others the accepted lines:"
echo
echo "| input | load | tarnwell-run | echoing loop | tarnwell-run \`--only ACCEPTED\` | GNU grep \`-xE\` | ripgrep \`-x\` | ripgrep \`-x\` FILE |"
echo "|---|---|---|---|---|---|---|---|"
printf '%s' "$printing_rows"
echo
echo "tarnwell-run's time over the other program's (median of the rounds' ratios; below 1: tarnwell-run is faster):"
echo
echo "| input | \`--count\` / counting floor | \`--count\` / ripgrep \`-cx\` FILE | results / echoing loop | \`--only ACCEPTED\` / grep \`-xE\` | \`--only ACCEPTED\` / ripgrep \`-x\` | \`--only ACCEPTED\` / ripgrep \`-x\` FILE |"
echo "|---|---|---|---|---|---|---|"
i=0
while IFS= read -r ratios; do
    [ -n "$ratios" ] || continue
    i=$((i + 1))
    name=$(printf '%s' "$counting_rows" | sed -n "${i}p" | cut -d'|' -f2 | sed 's/^ //; s/ $//')
    echo "| $name |$ratios"
done <<< "$ratio_rows"

# Start-up: every program on an empty file, in turns, many rounds.
: > "$work/empty.txt"
"$work/timer" $((runs * 8)) "$work/empty.txt" \
    -- "tarnwell-run --count" "$run" --count "${automaton_file[div3]}" \
    -- "tarnwell-run" "$run" "${automaton_file[div3]}" \
    -- "grep -cxE" grep -cxE "${regex[div3]}" \
    -- "rg -cx" rg -cx "${regex[div3]}" \
    -- "rg -cx FILE" rg -cx "${regex[div3]}" "$work/empty.txt" \
    -- "counting floor" "$work/count" ${table_args[div3]} > "$work/times.tsv"
# ripgrep given no file reads standard input only when it is a file or a pipe.
[ "$(awk -F'\t' '$1 == "rg -cx" { print $2 }' "$work/times.tsv")" = 0 ] \
    || { echo "compare-peers.sh: rg -cx did not read the empty standard input" >&2; exit 1; }
echo
echo "Start-up, on an empty file (median of $((runs * 8)) runs in turns; load $(load)):"
echo
awk -F'\t' "$median"'
    BEGIN { print "| program | ms |"; print "|---|---|" }
    { n = NF - 3; for (r = 1; r <= n; r++) v[r] = $(r + 3); printf "| %s | %.1f |\n", $1, median(v, n) * 1000 }' "$work/times.tsv"
echo
echo "The most memory each program held on any input (resident, MB):"
echo
awk -F'\t' 'BEGIN { print "| program | MB |"; print "|---|---|" }
    !($1 in most) { order[++n] = $1 }
    $2 > most[$1] { most[$1] = $2 }
    END { for (i = 1; i <= n; i++) printf "| %s | %.0f |\n", order[i], most[order[i]] / 1024 }' "$work/memory.tsv"
echo
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
