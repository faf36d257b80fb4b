#!/usr/bin/env bash
# Runs the desktop program in a virtual X session (Xvfb) the way a user would: opens a picture
# from the command line, checks the caption, converts it, checks that a second copy only
# brings the first forward, closes the program with SIGTERM and checks that it wrote
# Charloom.ini. Saves a screenshot of the main window as docs/mainwindow.png.
#   CHARLOOM_BUILD=build-debug scripts/desktop-check.sh   (default: build, the release preset)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${CHARLOOM_BUILD:-build}

need=()
for tool in Xvfb:xvfb xdotool:xdotool xwd:x11-apps xwdtopnm:netpbm; do
    command -v "${tool%%:*}" >/dev/null || need+=("${tool##*:}")
done
if [ ${#need[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
if [ ! -x "$build/bin/charloom" ]; then
    cmake --preset release >/dev/null
    cmake --build --preset release -j2 --target charloom
fi

work=$(mktemp -d)
display=:$((90 + RANDOM % 9))
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "desktop-check: $*" >&2
    exit 1
}

# A copy of the program in a folder of its own, so its Charloom.ini lands there.
mkdir -p "$work/bin"
cp "$build/bin/charloom" "$work/bin/charloom"
cp data/sample.png "$work/picture.png"

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb

"$work/bin/charloom" "$work/picture.png" 2>"$work/stderr.txt" &
app_pid=$!
main=$(timeout 20 xdotool search --sync --onlyvisible --name "Charloom" | head -1) ||
    fail "the main window did not appear"
sleep 1
caption=$(xdotool getwindowname "$main")
[ "$caption" = "picture.png - Charloom" ] || fail "caption is '$caption'"
echo "caption: $caption"

# A second copy brings the first forward and ends at once, without a window of its own.
timeout 10 "$work/bin/charloom" || fail "the second copy did not end by itself"
[ "$(xdotool search --onlyvisible --name 'Charloom' | wc -l)" = 1 ] || fail "two main windows"
echo "second copy: ended"

xwd -silent -id "$main" | xwdtopnm 2>/dev/null | pnmtopng >"$root/docs/mainwindow.png"
echo "screenshot: docs/mainwindow.png"

# Convert: the button sits in the tray's button row, 11 pixels above the window's bottom.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --window "$main" 299 $((HEIGHT - 23)) click 1
timeout 60 xdotool search --sync --onlyvisible --name "Text View" >/dev/null ||
    fail "converting did not show the text view"
echo "text view: shown"

kill -TERM "$app_pid"
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "SIGTERM did not close the program"
wait "$app_pid" || true
app_pid=""
[ -f "$work/bin/Charloom.ini" ] || fail "Charloom.ini was not written"
grep -q '^\[MainWindow\]' "$work/bin/Charloom.ini" || fail "Charloom.ini has no [MainWindow]"
echo "SIGTERM: closed, Charloom.ini written ($(wc -l <"$work/bin/Charloom.ini") lines)"
echo "desktop-check: all good"
