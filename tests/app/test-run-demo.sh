#!/usr/bin/env bash
# `make run` on a fresh build: the demo case opens in a real X server.
# Starts Xvfb on a free display, runs scripts/run-demo.sh into a temporary
# demo folder and waits for a window titled with the demo image's path; then
# Ctrl+R must open the demo series in the study window.
#   test-run-demo.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
src=$1
build=$2
skip=77

for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (apt-get install xvfb xdotool)"
        exit $skip
    fi
done

tmp=$(mktemp -d)
xvfb_pid=
zor_pid=
cleanup() {
    [ -n "$zor_pid" ] && kill "$zor_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT

# Xvfb takes the first free display itself and names it on fd 3, so two runs
# at once cannot pick the same number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
display=
for _ in $(seq 100); do
    display=$(tr -dc '0-9' <"$tmp/display")
    [ -n "$display" ] && [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done
[ -n "$display" ] && [ -e "/tmp/.X11-unix/X$display" ] ||
    { echo "FAIL: Xvfb did not start"; cat "$tmp/xvfb.log"; exit 1; }

# A private home, so that Zor2.ini of the user is left alone.
mkdir -p "$tmp/home"
env -u QT_QPA_PLATFORM DISPLAY=":$display" HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" \
    bash "$src/scripts/run-demo.sh" "$build" "$tmp/demo" >"$tmp/zor.log" 2>&1 &
zor_pid=$!

image="$tmp/demo/demo-hip.bmp"
pattern="^$(printf '%s' "$image" | sed 's/[][\.*^$+?(){}|/]/\\&/g')\$"
# The splash closes itself after 5 s; the main window comes after it.
for _ in $(seq 300); do
    if DISPLAY=":$display" xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1; then
        [ -f "$tmp/demo/demo-hip.bit" ] || { echo "FAIL: no landmark file"; exit 1; }
        echo "PASS: a window titled $image appeared"
        break
    fi
    if ! kill -0 "$zor_pid" 2>/dev/null; then
        echo "FAIL: zor ended before its window appeared"
        cat "$tmp/zor.log"
        exit 1
    fi
    sleep 0.1
done
if ! DISPLAY=":$display" xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1; then
    echo "FAIL: no window titled $image within 30 s"
    DISPLAY=":$display" xdotool search --name '.' getwindowname %@ 2>/dev/null
    cat "$tmp/zor.log"
    exit 1
fi

# Ctrl+R ("&Series ...") opens the demo series in the study window.
main=$(DISPLAY=":$display" xdotool search --onlyvisible --name "$pattern" | head -1)
series="^Series - $(printf '%s' "$tmp/demo" | sed 's/[][\.*^$+?(){}|/]/\\&/g')\$"
DISPLAY=":$display" xdotool windowfocus --sync "$main" key ctrl+r 2>/dev/null
for _ in $(seq 300); do
    if DISPLAY=":$display" xdotool search --onlyvisible --name "$series" >/dev/null 2>&1; then
        echo "PASS: Ctrl+R opened the study window of $tmp/demo"
        exit 0
    fi
    sleep 0.1
done
echo "FAIL: no study window after Ctrl+R within 30 s"
DISPLAY=":$display" xdotool search --name '.' getwindowname %@ 2>/dev/null
cat "$tmp/zor.log"
exit 1
