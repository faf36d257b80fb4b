#!/usr/bin/env bash
# Pictures of the dialogs for the README: builds the screenshot tool and runs it under Xvfb,
# saving docs/fomSetup.png, docs/fomFontSet.png, docs/fomColorSet.png and docs/fomVersion.png.
# Usage: scripts/dialog-screenshots.sh [BUILD_DIR]   (default: build, the release preset)
set -euo pipefail
cd "$(dirname "$0")/.."
CHARLOOM_WITH_X=1 scripts/install-deps.sh
build="${1:-build}"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset release >/dev/null
    build=build
fi
cmake --build "$build" --target DialogScreenshots -j2
mkdir -p docs
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$build/tests/DialogScreenshots" docs
