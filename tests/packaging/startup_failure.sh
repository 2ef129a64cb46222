#!/bin/sh
# The Windows program where it cannot start (a Qt platform that does not exist), under Wine
# on an X server of the test's own. Started as from the Start menu, with no standard handles
# (wine start), it shows a message box titled Tallyforge that names the cause, and ends with
# status 2 once the box is closed with Enter; with its standard error in a pipe, it writes
# there and shows no box. In a copy of the run's prefix: Wine's desktop, once started there
# without a display by another test, would have none for this one either.
#   startup_failure.sh PROGRAM
program=$1 wine=$(dirname "$0")/../wine
tmp=$(mktemp -d) n=$(( $$ % 400 + 300 ))
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap '"$wine/prefix.sh" cleanup "$tmp/wine"; kill $xvfb; wait $xvfb; rm -rf "$tmp"' EXIT
"$wine/prefix.sh" copy "$tmp/wine" "$TF_WINEPREFIX" >/dev/null || exit 1
export DISPLAY=":$n" QT_QPA_PLATFORM=tf-nowhere TF_WINEPREFIX="$tmp/wine"
launcher=$wine/wine-program
fail() { echo "FAIL $*"; sed 's/^/  | /' "$tmp/log"; exit 1; }

timeout 60 "$launcher" "$program" >"$tmp/log" 2>&1
[ $? -eq 2 ] && grep -q 'no platform plugin "tf-nowhere"' "$tmp/log" || fail "with standard error in a pipe"

# Wine's trace of the message box holds its text; the X window, its title.
WINEDEBUG=+msgbox "$launcher" start /wait /unix "$program" >"$tmp/log" 2>&1 &
run=$!
box=$(timeout 60 xdotool search --sync --onlyvisible --name '^Tallyforge$' | head -n 1)
[ -n "$box" ] || fail "no window titled Tallyforge"
grep -q 'Tallyforge cannot show its window: Qt has no platform plugin \\"tf-nowhere\\"' "$tmp/log" \
    || fail "the box does not name the platform"
xdotool windowfocus --sync "$box" key Return
wait $run
status=$?
[ $status -eq 2 ] || fail "status $status after the box was closed, expected 2"
echo "start-up failure shown in a box, status 2"
