#!/bin/sh
# Starts the program with no display at all, and with one that cannot be reached.
program=$1
fail=0
check() {
    what=$1; shift
    out=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$program" 2>&1)
    rc=$?
    if [ "$rc" -ne 2 ]; then echo "FAIL $what: exit status $rc, expected 2"; fail=1; fi
    lines=$(printf '%s\n' "$out" | grep -c .)
    if ! printf '%s' "$out" | grep -q 'is a desktop program and needs a desktop session'; then
        echo "FAIL $what: no explanation, got: $out"; fail=1
    elif [ "$lines" -ne 1 ]; then
        echo "FAIL $what: expected one sentence, got: $out"; fail=1
    fi
    case "$out" in *"core dumped"*|*Aborted*) echo "FAIL $what: aborted"; fail=1;; esac
}
check "no DISPLAY" env -u DISPLAY
check "unreachable DISPLAY" env DISPLAY=:6789
runtime=$(mktemp -d)
check "unreachable Wayland compositor" env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=tf-no-compositor
rmdir "$runtime"
[ $fail -eq 0 ] && echo "3 passed, 0 failed"
exit $fail
