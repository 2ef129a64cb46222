#!/bin/sh
# The program where it cannot show its window: one line of ours names the cause, none of
# Qt's, the exit status is 2 and nothing aborts. A display that comes up shortly after the
# program is waited for, and the window appears on it.
#   no_display.sh PROGRAM OFFSCREEN_PLUGIN
program=$1 offscreen=$2
tmp=$(mktemp -d)
xvfb= late=
cleanup() {
    for pid in $late $xvfb; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM
failed=0 passed=0
start() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE \
        -u QT_PLUGIN_PATH DBUS_SESSION_BUS_ADDRESS=disabled: XDG_RUNTIME_DIR="$tmp" "$@" "$program" </dev/null
}

# row NAME LINE [VAR=value ...]: the output is that one line of ours (grep -E), with
# nothing of Qt's messages in it or around it.
row() {
    name=$1 line=$2; shift 2
    out=$(start "$@" 2>&1)
    rc=$?
    bad=
    [ "$rc" -eq 2 ] || bad="exit status $rc, expected 2"
    [ "$(printf '%s\n' "$out" | grep -c .)" -eq 1 ] || bad="$bad; not one line"
    printf '%s\n' "$out" | grep -Eq -- "$line" || bad="$bad; does not match '$line'"
    printf '%s\n' "$out" | grep -Eq '^qt\.|Qt platform plugin|Cannot load library|screens available' && bad="$bad; Qt's words"
    case "$out" in *"core dumped"*|*Aborted*) bad="$bad; aborted";; esac
    if [ -n "$bad" ]; then echo "FAIL $name: ${bad#; }"; printf '%s\n' "$out" | sed 's/^/  | /'; failed=$((failed + 1))
    else passed=$((passed + 1)); fi
}

row "no display" \
    '^Tallyforge is a desktop program and needs a desktop session to show its window, but no display was found \(DISPLAY and WAYLAND_DISPLAY are not set\)\.$'
row "X display that does not exist" \
    '^Tallyforge cannot show its window: it could not reach the X display :6789 within 3 seconds\. Is the display server running, and may this user connect to it\?$' \
    DISPLAY=:6789
row "Wayland compositor and X display, neither there" \
    "^Tallyforge cannot show its window: it could not reach the Wayland compositor at $tmp/tf-nowhere \(No such file or directory\) nor the X display :6789 within 3 seconds\. " \
    WAYLAND_DISPLAY=tf-nowhere DISPLAY=:6789
row "platform that does not exist" \
    '^Tallyforge cannot show its window: Qt has no platform plugin "tf-nowhere" \(it has [a-z0-9, -]*offscreen[a-z0-9, -]*\)\.$' \
    QT_QPA_PLATFORM=tf-nowhere
# The framebuffer platform on a device that is not there, leaving the machine's keyboards alone.
row "platform with no screen" \
    '^Tallyforge cannot show its window: Qt.s platform plugin "linuxfb" found no screen to show it on\.$' \
    QT_QPA_PLATFORM=linuxfb:fb=/dev/tf-nowhere QT_QPA_FB_DISABLE_INPUT=1
# A plugin whose library needs one that is not there: a copy of the offscreen plugin that
# asks for libQt6Gux.so.6 instead of libQt6Gui.so.6.
mkdir -p "$tmp/plugins/platforms"
perl -0777 -pe 's/libQt6Gui\.so\.6\0/libQt6Gux.so.6\0/' "$offscreen" >"$tmp/plugins/platforms/$(basename "$offscreen")"
row "platform plugin that cannot be loaded" \
    "^Tallyforge cannot show its window: Qt.s platform plugin \"offscreen\" is installed \($tmp/plugins/platforms/[^ ]*\) but could not be loaded \(libQt6Gux\.so\.6: cannot open shared object file[^()]*\)\. Installing the Debian package libqt6gux6, which usually holds libQt6Gux\.so\.6, should mend it\.\$" \
    QT_PLUGIN_PATH="$tmp/plugins" QT_QPA_PLATFORM=offscreen

# An X server that starts half a second after the program, on a display number of its own;
# a Wayland compositor is named too but not there, so the program passes on to X.
n=$(( $$ % 400 + 300 ))
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
start WAYLAND_DISPLAY=tf-nowhere DISPLAY=":$n" >"$tmp/late.log" 2>&1 &
late=$!
sleep 0.5
Xvfb ":$n" -nolisten tcp -screen 0 1024x768x24 >"$tmp/xvfb.log" 2>&1 &
xvfb=$!
shown=
for _ in $(seq 150); do
    if DISPLAY=":$n" xwininfo -root -tree 2>/dev/null | grep -q '"Cost Estimate Worksheet"'; then shown=1; break; fi
    kill -0 "$late" 2>/dev/null || break
    sleep 0.1
done
if [ -n "$shown" ] && kill -0 "$late" 2>/dev/null; then passed=$((passed + 1))
else echo "FAIL display that comes up late: no window on :$n"; sed 's/^/  | /' "$tmp/late.log" "$tmp/xvfb.log"; failed=$((failed + 1)); fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
