#!/bin/sh
# The Windows program where Qt's platform does not exist, on an Xvfb of the test's own and
# a copy of the run's prefix (Wine's desktop, once started there without a display, would
# have none here). Its standard error a pipe, it writes there; started with no standard
# handles, as from the Start menu, a box titled Tallyforge (Wine's trace holds its text).
# Either way one sentence of ours names the platform, none of Qt's; status 2.
#   startup_failure.sh PROGRAM
program=$1 wine=$(dirname "$0")/../helpers tmp=$(mktemp -d) n=$(( $$ % 400 + 300 ))
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -nolisten tcp >/dev/null 2>&1 & xvfb=$!
trap '"$wine/prefix.sh" cleanup "$tmp/wine"; kill $xvfb; wait $xvfb; rm -rf "$tmp"' EXIT
"$wine/prefix.sh" copy "$tmp/wine" "$TF_WINEPREFIX" >/dev/null || exit 1
export DISPLAY=":$n" QT_QPA_PLATFORM=tf-nowhere TF_WINEPREFIX="$tmp/wine"
fail() { echo "FAIL $*"; sed 's/^/  | /' "$tmp/log"; exit 1; }
ours='Tallyforge cannot show its window: Qt has no platform plugin \\?"tf-nowhere\\?" \([^()]*\)\.'
timeout 60 "$wine/wine-program" "$program" >"$tmp/log" 2>&1; rc=$?; sed -i 's/\r$//' "$tmp/log"
[ $rc -eq 2 ] && [ "$(grep -c '' "$tmp/log")" -eq 1 ] && grep -Eqx "$ours" "$tmp/log" \
    || fail "with standard error in a pipe, not status 2 and our one sentence"
WINEDEBUG=+msgbox "$wine/wine-program" start /wait /unix "$program" >"$tmp/log" 2>&1 & run=$!
box=$(timeout 60 xdotool search --sync --onlyvisible --name '^Tallyforge$' | head -n 1)
[ -n "$box" ] && grep -Eq "\"$ours\"" "$tmp/log" && ! grep -Eq 'qt\.qpa|Qt platform plugin' "$tmp/log" \
    || fail "no box titled Tallyforge naming the platform in our words alone"
xdotool windowfocus --sync "$box" key Return
wait $run; status=$?
[ $status -eq 2 ] || fail "status $status after the box was closed with Enter"
echo "start-up failure on standard error, and in a box closed with Enter; status 2"
