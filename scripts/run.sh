#!/usr/bin/env bash
# Builds the release binaries and converts the bundled sample picture into text art.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
build/bin/charloom-cli --lines 30 data/sample.png
