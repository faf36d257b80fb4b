#!/usr/bin/env bash
# Builds the project with AddressSanitizer and UndefinedBehaviorSanitizer (the asan preset) and
# runs every test under them. Any report stops the test that made it, so it fails. Leak checking
# is on. Two reports from system libraries that only the desktop end-to-end tests reach, on a
# real X server, are suppressed; tests/asan-suppressions.txt and lsan-suppressions.txt say why.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
start=$(date +%s)
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$(nproc)"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:suppressions=$PWD/tests/asan-suppressions.txt"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan-suppressions.txt"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --preset asan -j"$(nproc)"
echo "sanitizer pass: $(($(date +%s) - start)) s" >&2
