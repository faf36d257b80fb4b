#!/bin/sh
# Times charloom-cli against chafa and jp2a at equal output size (lines x characters per line) on
# a 1024 x 768 picture, in one run so that all three see the same machine load, and prints the
# ratios. Each command runs REPEAT times (default 3), in turn with its peer; the best wall time
# counts.
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

# time_once OUTPUT COMMAND...: the wall time in seconds of one run, its output kept.
time_once() {
    out=$1
    shift
    start=$(date +%s.%N)
    "$@" >"$out" 2>/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

smaller() { if [ -z "$1" ] || [ "$(echo "$2 < $1" | bc -l)" = 1 ]; then echo "$2"; else echo "$1"; fi; }

# race PEER_FUNCTION CHARLOOM_FUNCTION: runs the two in turn REPEAT times, so that both see the
# same moments of the machine, and sets best_peer and best_charloom to their best wall times.
race() {
    best_peer=
    best_charloom=
    i=0
    while [ "$i" -lt "$repeat" ]; do
        best_peer=$(smaller "$best_peer" "$("$1")")
        best_charloom=$(smaller "$best_charloom" "$("$2")")
        i=$((i + 1))
    done
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
run_chafa() {
    time_once "$work/chafa.txt" chafa -f symbols --symbols ascii -c none --stretch --work 9 \
        --threads "$threads" -s 1000x400 "$picture"
}
run_two_level() {
    time_once "$work/charloom.txt" "$cli" -q --mode two-level --palette "$ascii" --lines 400 \
        "$picture"
}
# The thread count goes through the environment, so that no wrapper program is timed with it.
for threads in 1 2; do
    export CHARLOOM_THREADS=$threads
    race run_chafa run_two_level
    echo "$threads thread(s): chafa $(size "$work/chafa.txt") in ${best_peer} s; charloom $(size "$work/charloom.txt") in ${best_charloom} s; charloom is $(ratio "$best_peer" "$best_charloom") times as fast"
done
echo
echo "== normal mode, default palette, against jp2a =="
run_jp2a() { time_once "$work/jp2a.txt" jp2a --size=1000x400 "$picture"; }
run_normal() { time_once "$work/charloom.txt" "$cli" -q --lines 400 "$picture"; }
for threads in 1 2; do
    export CHARLOOM_THREADS=$threads
    race run_jp2a run_normal
    echo "$threads thread(s): jp2a $(size "$work/jp2a.txt") in ${best_peer} s; charloom $(size "$work/charloom.txt") in ${best_charloom} s; charloom takes $(ratio "$best_charloom" "$best_peer") times jp2a's time"
done
echo
unset CHARLOOM_THREADS
echo "== start-up alone: charloom-cli --version =="
best=
i=0
while [ "$i" -lt "$repeat" ]; do
    best=$(smaller "$best" "$(time_once "$work/version.txt" "$cli" --version)")
    i=$((i + 1))
done
echo "charloom-cli --version: ${best} s"
