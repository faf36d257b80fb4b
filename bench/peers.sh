#!/bin/sh
# Times charloom-cli against chafa and jp2a at equal output size (lines x characters per line) on
# a 1024 x 768 picture, in one run so that all three see the same machine load, and prints the
# ratios. Each command runs REPEAT times (default 3); the best wall time counts.
#
#   bench/peers.sh [BUILD_DIR]     (default: build, a release build with -DCHARLOOM_BENCH=ON)
#
# chafa compares all 95 ASCII symbols on every cell (--work 9), as the two-level mode compares
# its palette's shapes; jp2a only averages brightness per cell, as the normal mode does.
set -eu

build=${1:-build}
cli=$build/bin/charloom-cli
bench=$build/bin/charloom_bench_speed
repeat=${REPEAT:-3}

for tool in chafa jp2a; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "peers.sh: $tool is missing; install it with: apt-get install chafa jp2a" >&2
        exit 1
    fi
done
for program in "$cli" "$bench"; do
    if ! [ -x "$program" ]; then
        echo "peers.sh: $program is missing; build it: cmake --preset release -DCHARLOOM_BENCH=ON && cmake --build build" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --save-pictures "$work"
picture=$work/picture.jpg
ascii=$(printf ' !"#$%%&'"'"'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~')

# best_time OUTPUT COMMAND...: the best wall time in seconds of REPEAT runs; the last output kept.
best_time() {
    out=$1
    shift
    best=
    i=0
    while [ "$i" -lt "$repeat" ]; do
        start=$(date +%s.%N)
        "$@" >"$out" 2>/dev/null
        end=$(date +%s.%N)
        t=$(echo "$end - $start" | bc -l)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
        i=$((i + 1))
    done
    echo "$best"
}

# size FILE: "lines x widest line" in characters, escape sequences removed.
size() {
    sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g; s/\r$//' "$1" |
        awk '{ n = length($0); if (n > w) w = n } END { printf "%d x %d", NR, w }'
}

ratio() { echo "scale=2; $1 / $2" | bc -l; }

echo "machine: $(nproc) processors, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "== two-level mode, 95 ASCII characters, against chafa --work 9 =="
for threads in 1 2; do
    c=$(best_time "$work/chafa.txt" chafa -f symbols --symbols ascii -c none --stretch --work 9 \
        --threads "$threads" -s 1000x400 "$picture")
    l=$(best_time "$work/charloom.txt" env CHARLOOM_THREADS="$threads" "$cli" -q \
        --mode two-level --palette "$ascii" --lines 400 "$picture")
    echo "$threads thread(s): chafa $(size "$work/chafa.txt") in ${c} s; charloom $(size "$work/charloom.txt") in ${l} s; charloom is $(ratio "$c" "$l") times as fast"
done
echo
echo "== normal mode, default palette, against jp2a =="
for threads in 1 2; do
    j=$(best_time "$work/jp2a.txt" jp2a --size=1000x400 "$picture")
    l=$(best_time "$work/charloom.txt" env CHARLOOM_THREADS="$threads" "$cli" -q \
        --lines 400 "$picture")
    echo "$threads thread(s): jp2a $(size "$work/jp2a.txt") in ${j} s; charloom $(size "$work/charloom.txt") in ${l} s; charloom takes $(ratio "$l" "$j") times jp2a's time"
done
echo
echo "== start-up alone: charloom-cli --version =="
v=$(best_time "$work/version.txt" "$cli" --version)
echo "charloom-cli --version: ${v} s"
