#!/usr/bin/env bash
# The desktop program driven as a user drives it, on a virtual X server of its own: open a
# picture, drag a selection over it, press 変換, copy the text view's text with Ctrl+C, read the
# clipboard, close both windows with a close request, and check that charloom-cli makes the same
# text from the same picture, selection and the settings file the program wrote. Screenshots stay
# in OUT_DIR. Exit status 77 (skipped) when a tool is missing; QT_SCALE_FACTOR=2 runs it at a
# device pixel ratio of 2.
#
#   desktop-e2e.sh CHARLOOM CHARLOOM_CLI X11_CLOSE_REQUEST PICTURE OUT_DIR
set -euo pipefail

app=$1 cli=$2 close_request=$3 picture=$4 out=$5

skip() {
    echo "SKIPPED: $*"
    exit 77
}
fail() {
    echo "FAILED: $*" >&2
    [ -n "${work:-}" ] && [ -s "$work/app.log" ] && sed 's/^/  charloom: /' "$work/app.log" >&2
    exit 1
}
start=$(date +%s%N)
note() {
    local ms=$((($(date +%s%N) - start) / 1000000))
    printf '[%3d.%01d s] %s\n' $((ms / 1000)) $((ms % 1000 / 100)) "$*"
}

missing=()
for tool in Xvfb:xvfb xdotool:xdotool xclip:xclip xwd:x11-apps xwdtopnm:netpbm pnmcut:netpbm; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool%%:*} (${tool##*:})")
done
[ ${#missing[@]} -eq 0 ] || skip "no ${missing[*]}; scripts/install-deps.sh installs them"
[ -x "$close_request" ] || skip "x11-close-request was not built (Xlib headers: libx11-dev)"

# Only whole scale factors: the selection's screen points are picture pixels times the scale.
scale=${QT_SCALE_FACTOR:-1}
[[ "$scale" =~ ^[1-4]$ ]] || fail "QT_SCALE_FACTOR must be a whole number 1..4, not '$scale'"

# The main window's client area is 6360 x 5100 twips (424 x 340 pixels) below its menu bar, and
# the picture sits at its top-left corner; 変換 is 70 pixels wide at x 264 in the tray's bottom
# row, whose centre lies 23 pixels above the window's bottom edge.
client_height=340 convert_x=299 convert_from_bottom=23
# The selection in picture pixels, inside the part of the 480 x 360 sample the view shows.
sel_x1=40 sel_y1=30 sel_x2=230 sel_y2=150

work=$(mktemp -d "${TMPDIR:-/tmp}/charloom-e2e.XXXXXX")
xvfb_pid="" app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Polls until the command succeeds, or fails the check after limit seconds.
wait_for() {
    local what=$1 limit=$2
    shift 2
    local end=$((SECONDS + limit))
    until "$@"; do
        [ $SECONDS -lt $end ] || fail "$what: not within ${limit} s"
        sleep 0.1
    done
}

mkdir -p "$out"
rm -f "$out"/{mainwindow-selection.png,textview.png,clipboard.txt,cli.txt,Charloom.ini,diff.txt}

# A private copy of the program, so that its Charloom.ini is written beside it; a private
# temporary folder, so that its single-instance socket meets no other running copy.
mkdir -p "$work/bin" "$work/tmp" && mkdir -m 700 "$work/runtime"
cp "$app" "$work/bin/charloom"
cp "$picture" "$work/picture.png"

# Xvfb picks a free display number itself and reports it once it accepts clients.
screen_w=$((1024 * scale)) screen_h=$((768 * scale))
Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -noreset \
    3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
display_ready() { [ -s "$work/display" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; }
wait_for "Xvfb start" 20 display_ready
kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n1 "$work/display")
export XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp QT_QPA_PLATFORM=xcb
unset SESSION_MANAGER QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE
note "Xvfb on $DISPLAY (${screen_w}x${screen_h}), scale $scale"

"$work/bin/charloom" "$work/picture.png" >"$work/app.log" 2>&1 &
app_pid=$!
main=""
find_main() {
    kill -0 "$app_pid" 2>/dev/null || fail "charloom ended at start"
    main=$(xdotool search --all --onlyvisible --pid "$app_pid" --name '^picture\.png - Charloom$' \
        2>/dev/null | head -n1)
    [ -n "$main" ]
}
wait_for "the main window with the picture" 30 find_main
note "main window $main: $(xdotool getwindowname "$main")"

eval "$(xdotool getwindowgeometry --shell "$main")"
win_x=$X win_y=$Y win_h=$HEIGHT
menu=$((win_h / scale - client_height))
[ "$menu" -ge 10 ] && [ "$menu" -le 60 ] ||
    fail "window $WIDTH x $HEIGHT: the menu bar would be $menu pixels high"
screen_x() { echo $((win_x + $1 * scale)); }
screen_y() { echo $((win_y + (menu + $1) * scale)); }

shot() { xwd -silent -id "$1" | xwdtopnm 2>/dev/null; }
# The top and left edge bars of the selection, as pixel strips of a screenshot.
strips() {
    local s=$scale
    pnmcut -left $((sel_x1 * s)) -top $(((menu + sel_y1) * s)) \
        -width $(((sel_x2 - sel_x1) * s)) -height $((3 * s)) "$1" | ppmhist -noheader | wc -l
    pnmcut -left $((sel_x1 * s)) -top $(((menu + sel_y1) * s)) \
        -width $((3 * s)) -height $(((sel_y2 - sel_y1) * s)) "$1" | ppmhist -noheader | wc -l
}
shot "$main" >"$work/before.ppm"

xdotool mousemove "$(screen_x $sel_x1)" "$(screen_y $sel_y1)" mousedown 1 \
    mousemove "$(screen_x $(((sel_x1 + sel_x2) / 2)))" "$(screen_y $(((sel_y1 + sel_y2) / 2)))" \
    mousemove "$(screen_x $sel_x2)" "$(screen_y $sel_y2)" mouseup 1
# The edge bars show the rectangle: each is one colour where the picture was not.
bars_shown() {
    shot "$main" >"$work/after.ppm"
    [ "$(strips "$work/after.ppm" | tr '\n' ' ')" = "1 1 " ]
}
wait_for "the selection's edge bars at ($sel_x1,$sel_y1)-($sel_x2,$sel_y2)" 10 bars_shown
[ "$(strips "$work/before.ppm" | tr '\n' ' ')" != "1 1 " ] ||
    fail "the picture is plain where the edge bars go: the bars prove nothing"
pnmtopng <"$work/after.ppm" >"$out/mainwindow-selection.png"
note "selection dragged: ($sel_x1,$sel_y1)-($sel_x2,$sel_y2), edge bars shown"

xdotool mousemove "$(screen_x $convert_x)" $((win_y + win_h - convert_from_bottom * scale)) click 1
view=""
find_view() {
    kill -0 "$app_pid" 2>/dev/null || fail "charloom ended while converting"
    view=$(xdotool search --all --onlyvisible --pid "$app_pid" --name '^Text View$' 2>/dev/null |
        head -n1)
    [ -n "$view" ]
}
wait_for "the text view after 変換" 60 find_view
note "text view $view shown"

# Ctrl+C copies the whole text; the window takes keys once it has the input focus.
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$view" ]; }
focus_view() { xdotool windowfocus "$view" 2>/dev/null && has_focus; }
wait_for "the input focus on the text view" 10 focus_view
# Copying twice does no harm: the key goes again should the first be lost on a busy machine.
copy_text() {
    xdotool key --clearmodifiers ctrl+c
    local i
    for i in 1 2 3 4 5; do
        timeout 5 xclip -o -selection clipboard >"$work/clipboard.txt" 2>/dev/null &&
            [ -s "$work/clipboard.txt" ] && return 0
        sleep 0.1
    done
    return 1
}
wait_for "text on the clipboard after Ctrl+C" 15 copy_text
cp "$work/clipboard.txt" "$out/clipboard.txt"
note "clipboard: $(wc -l <"$work/clipboard.txt") lines, $(wc -c <"$work/clipboard.txt") bytes"
shot "$view" | pnmtopng >"$out/textview.png"

"$close_request" "$view"
view_gone() { ! xdotool search --all --onlyvisible --pid "$app_pid" --name '^Text View$' >/dev/null 2>&1; }
wait_for "the text view closing on its close request" 10 view_gone
"$close_request" "$main"
app_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_for "charloom ending on the main window's close request" 20 app_ended
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "charloom ended with status $status"
ini=$work/bin/Charloom.ini
[ -f "$ini" ] || fail "closing did not write Charloom.ini"
cp "$ini" "$out/Charloom.ini"
note "both windows closed by close requests; Charloom.ini written"

# The converter as a script runs it: no display, its own default platform, no scaling.
run_cli() {
    env -u DISPLAY -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR "$cli" -q --settings "$ini" "$@" "$work/picture.png" \
        2>"$work/cli.log" || fail "charloom-cli $*: $(cat "$work/cli.log")"
}
select="$sel_x1,$sel_y1,$sel_x2,$sel_y2"
run_cli --select "$select" >"$work/cli.txt"
cp "$work/cli.txt" "$out/cli.txt"
run_cli >"$work/whole.txt"

# Line for line, whatever the line ends.
normalise() { awk '{ sub(/\r$/, ""); print }' "$1"; }
if ! diff <(normalise "$work/clipboard.txt") <(normalise "$work/cli.txt") >"$out/diff.txt"; then
    fail "the copied text differs from charloom-cli --select $select (see $out/diff.txt)"
fi
rm -f "$out/diff.txt"
if diff -q <(normalise "$work/clipboard.txt") <(normalise "$work/whole.txt") >/dev/null; then
    fail "the copied text is that of the whole picture: the selection was not used"
fi
note "same text as charloom-cli --settings Charloom.ini --select $select:" \
    "$(normalise "$work/cli.txt" | wc -l) lines"
echo "screenshots: $out/mainwindow-selection.png $out/textview.png"
