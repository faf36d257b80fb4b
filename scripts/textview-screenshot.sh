#!/usr/bin/env bash
# Converts the sample picture with the default settings, shows the text art in the text view on a
# virtual X server (Xvfb) and saves a picture of the window as docs/textview.png.
# BUILD_DIR picks an existing build tree (default: the release build, made when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
CHARLOOM_WITH_X=1 scripts/install-deps.sh
build_dir=${BUILD_DIR:-build}
if [ "$build_dir" = build ]; then
    cmake --preset release >/dev/null
fi
cmake --build "$build_dir" --target textview-screenshot -j"$(nproc)"
mkdir -p docs
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1024x768x24" \
    "$build_dir/bin/textview-screenshot" data/sample.png docs/textview.png
echo "saved docs/textview.png"
