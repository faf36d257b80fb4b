#!/usr/bin/env bash
# Writes the seed corpora of the fuzz targets into build-fuzz/seeds/<target>/: small valid
# pictures of every format (written by Qt; the GIF by hand), settings files, Shift-JIS texts and
# palettes. Builds the fuzz preset's seed writer first.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_make_seeds -j"$(nproc)" >/dev/null
rm -rf build-fuzz/seeds
ASAN_OPTIONS=detect_leaks=0 build-fuzz/fuzz/fuzz_make_seeds build-fuzz/seeds
find build-fuzz/seeds -type f | sort
