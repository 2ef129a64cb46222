#!/bin/sh
# The command line with no display at all: --version and --help are answered on standard
# output, an unknown option gets one line on standard error and status 2, and Qt's own
# options pass on to Qt (here: to the no-display check). Every row runs twice: standard
# output into a pipe and standard error into a file, then the other way round.
#   command_line.sh PROGRAM VERSION [LAUNCHER]
# LAUNCHER runs PROGRAM (tests/helpers/wine-program for the Windows program under Wine).
program=$1 version=$2 launcher=${3:-}
fail=0
file=$(mktemp)
trap 'rm -f "$file"' EXIT
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $launcher "$program" "$@"; }
# check WHAT STATUS-SEEN STATUS-WANTED TEXT-SEEN TEXT-WANTED ("" = empty) one|any
check() {
    what=$1 rc=$2 status=$3 want=$5 lines=$6
    seen=$(printf '%s\n' "$4" | tr -d '\r')  # Windows ends its lines with CR LF
    [ "$rc" -eq "$status" ] || { echo "FAIL $what: status $rc, expected $status"; fail=1; }
    if [ -z "$want" ]; then [ -z "$seen" ] || { echo "FAIL $what: unexpected text: $seen"; fail=1; }; return; fi
    printf '%s\n' "$seen" | grep -q -- "$want" || { echo "FAIL $what: lacks '$want': $seen"; fail=1; }
    [ "$lines" = any ] || [ "$(printf '%s\n' "$seen" | grep -c .)" -eq 1 ] \
        || { echo "FAIL $what: more than one line: $seen"; fail=1; }
}
# row: expected status, what stdout must hold, what stderr must hold (one line), arguments
row() {
    status=$1 want_out=$2 want_err=$3; shift 3
    out=$(run "$@" 2>"$file"); rc=$?
    check "tallyforge $* (output to a pipe)" $rc "$status" "$out" "$want_out" any
    check "tallyforge $* (errors to a file)" $rc "$status" "$(cat "$file")" "$want_err" one
    err=$(run "$@" 2>&1 >"$file"); rc=$?
    check "tallyforge $* (output to a file)" $rc "$status" "$(cat "$file")" "$want_out" any
    check "tallyforge $* (errors to a pipe)" $rc "$status" "$err" "$want_err" one
}
row 0 "^Tallyforge $version\$" "" --version
row 0 "^Usage: tallyforge" "" --help
row 2 "" "unknown option '--frobnicate'" --frobnicate
row 2 "" "unexpected argument 'budget.xls'" budget.xls
if [ -z "$launcher" ]; then
    # The rest is the same parser on every platform: run once, natively.
    row 0 "^Tallyforge $version\$" "" -v
    row 0 "--version" "" -h
    row 0 "^Usage: tallyforge" "" --help-all
    row 0 "^Tallyforge $version\$" "" -style Fusion -reverse --version
    row 0 "^Tallyforge $version\$" "" --platform=xcb -geometry 100x100+0+0 -qwindowtitle "--help" --version
    row 2 "" "unknown option '-reverse=1'" -reverse=1
    # Without a display the program says so (Windows always has a desktop).
    row 2 "" 'needs a desktop session' -style Fusion -stylesheet /dev/null -widgetcount
fi
[ $fail -eq 0 ] && echo "command line rows pass"
exit $fail
