#!/usr/bin/env bash
# The Wine prefix of one test run: `prefix.sh setup DIR` makes it fresh, `prefix.sh
# cleanup DIR` ends its programs and removes it. `prefix.sh copy DIR FROM` makes DIR a copy
# of the run's prefix FROM, for tests that change what the others read, in seconds where
# wineboot takes twenty.
set -eu
what=$1
export WINEPREFIX=$2 WINEDEBUG=-all
# Wine would add its programs to the desktop menus of the user running the tests.
export WINEDLLOVERRIDES=winemenubuilder.exe=d
case $what in
  setup)
    [ -d "$WINEPREFIX" ] && { wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"; }
    mkdir -p "$(dirname "$WINEPREFIX")"
    # No window of Wine's own may wait for a user: no display for wineboot.
    env -u DISPLAY -u WAYLAND_DISPLAY wineboot -i >/dev/null 2>&1
    wineserver -w
    test -f "$WINEPREFIX/system.reg"
    echo "Wine prefix ready: $WINEPREFIX"
    ;;
  copy)
    # Programs may be running in FROM: a file that vanishes while it is copied is no error,
    # and the registry files are replaced whole, never written in place.
    [ -d "$WINEPREFIX" ] && { wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"; }
    cp -a "$3" "$WINEPREFIX" 2>/dev/null || true
    test -f "$WINEPREFIX/system.reg" && test -f "$WINEPREFIX/user.reg"
    echo "Wine prefix ready: $WINEPREFIX"
    ;;
  cleanup)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    ;;
esac
