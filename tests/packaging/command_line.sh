#!/bin/sh
# The command line with no display at all: --version and --help are answered on standard
# output, an unknown option gets one line on standard error and status 2, and Qt's own
# options pass on to Qt (here: to the no-display check).
program=$1 version=$2
fail=0
# row: expected status, what stdout must hold ("" = empty), what stderr must hold ("" = empty), arguments
row() {
    status=$1 want_out=$2 want_err=$3; shift 3
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@" 2>/tmp/tf-cl-err.$$)
    rc=$?
    err=$(cat /tmp/tf-cl-err.$$); rm -f /tmp/tf-cl-err.$$
    what="tallyforge $*"
    [ "$rc" -eq "$status" ] || { echo "FAIL $what: status $rc, expected $status"; fail=1; }
    if [ -z "$want_out" ]; then [ -z "$out" ] || { echo "FAIL $what: unexpected output: $out"; fail=1; }
    else printf '%s\n' "$out" | grep -q -- "$want_out" || { echo "FAIL $what: output lacks '$want_out': $out"; fail=1; }; fi
    if [ -z "$want_err" ]; then [ -z "$err" ] || { echo "FAIL $what: unexpected error output: $err"; fail=1; }
    else
        printf '%s\n' "$err" | grep -q -- "$want_err" || { echo "FAIL $what: error lacks '$want_err': $err"; fail=1; }
        [ "$(printf '%s\n' "$err" | grep -c .)" -eq 1 ] || { echo "FAIL $what: more than one line: $err"; fail=1; }
    fi
}
nodesk='needs a desktop session'
row 0 "^Tallyforge $version\$" "" --version
row 0 "^Tallyforge $version\$" "" -v
row 0 "^Usage: tallyforge" "" --help
row 0 "--version" "" -h
row 0 "^Usage: tallyforge" "" --help-all
row 0 "^Tallyforge $version\$" "" -style Fusion -reverse --version
row 0 "^Tallyforge $version\$" "" --platform=xcb -geometry 100x100+0+0 -qwindowtitle "--help" --version
row 2 "" "unknown option '--frobnicate'" --frobnicate
row 2 "" "unknown option '-reverse=1'" -reverse=1
row 2 "" "unexpected argument 'budget.xls'" budget.xls
row 2 "" "$nodesk" -style Fusion -stylesheet /dev/null -widgetcount
[ $fail -eq 0 ] && echo "command line rows pass"
exit $fail
