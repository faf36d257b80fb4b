#!/usr/bin/env bash
# Runs every fuzz target for a while (60 s each unless FUZZ_SECONDS says otherwise) from the
# seed corpora, and prints each target's execs and findings. Needs clang-14 and
# libclang-rt-14-dev. Crashes, sanitizer reports, hangs (30 s) and running out of memory (4 GiB;
# a picture may legitimately take the loader's 1 GiB limit) land in build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
targets=(${FUZZ_TARGETS:-TblExpand IniRead TextFile MarginRemoval Picture})
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target fuzz_make_seeds \
    "${targets[@]/#/fuzz_}" >/dev/null
scripts/make-fuzz-seeds.sh >/dev/null
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=0
for t in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$t
    findings=build-fuzz/findings/$t
    mkdir -p "$corpus" "$findings"
    log=build-fuzz/fuzz-$t.log
    status=0
    build-fuzz/fuzz/fuzz_$t "$corpus" build-fuzz/seeds/$t -max_total_time="$seconds" \
        -rss_limit_mb=4096 -timeout=30 -report_slow_units=1000000 -max_len=65536 \
        -artifact_prefix="$findings/" \
        -print_final_stats=1 >"$log" 2>&1 || status=$?
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
    found=$(find "$findings" -type f | wc -l)
    printf '%-14s execs %-10s findings %s (exit %s)\n' "$t" "${execs:-?}" "$found" "$status"
    [ "$status" -eq 0 ] && [ "$found" -eq 0 ] || failed=1
done
exit "$failed"
