#!/bin/sh
# Installs the build under /usr into a scratch DESTDIR and checks what a desktop finds there
# with its own validators: the menu entry, the software-centre metadata, the icons, the
# manual page, the licence, and the installed program answering --version without a display.
cmake=$1 build=$2 id=$3 version=$4
dest=$(mktemp -d) || exit 1
trap 'rm -rf "$dest"' EXIT
fail=0
failed() { echo "FAIL $*"; fail=1; }

DESTDIR=$dest "$cmake" --install "$build" --prefix /usr >/dev/null || { echo "FAIL install"; exit 1; }
usr=$dest/usr

desktop=$usr/share/applications/$id.desktop
metainfo=$usr/share/metainfo/$id.metainfo.xml
out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || failed "desktop entry: $out"
# No homepage to name (README, Install): appstream 1.0's warning of that alone is let pass.
out=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) || [ "$(printf '%s\n' "$out" \
    | sed -n 's/^[EW]: .*: //p')" = url-homepage-missing ] || failed "metainfo: $out"
grep -qx "Exec=tallyforge" "$desktop" || failed "desktop entry does not start the installed program"
grep -q "<release version=\"$version\"" "$metainfo" || failed "metainfo names no release $version"

# Every fixed size is the size its folder says; the scalable one is there.
[ -s "$usr/share/icons/hicolor/scalable/apps/$id.svg" ] || failed "no scalable icon"
for size in 48 64 128 256; do
    png=$usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    got=$(identify -format '%wx%h' "$png" 2>&1)
    [ "$got" = "${size}x${size}" ] || failed "icon $size: $got"
done

# The manual page reads without a complaint from the formatter and covers the options.
page=$usr/share/man/man1/tallyforge.1.gz
warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
[ -z "$warnings" ] || failed "manual page: $warnings"
for word in --version --help QT_QPA_PLATFORM CUPS_SERVER LC_MONETARY; do
    zcat "$page" | sed 's/\\-/-/g' | grep -q -- "$word" || failed "manual page does not mention $word"
done

doc=$usr/share/doc/tallyforge
grep -q "^License: Expat" "$doc/copyright" || failed "copyright file names no licence"
zcat "$doc/changelog.gz" | head -1 | grep -q "^tallyforge ($version)" || failed "changelog does not start with $version"

# Directories and the program 0755, everything else 0644.
odd=$(find "$usr" \( -type d -o -path '*/bin/*' \) ! -perm 0755 -o -type f ! -path '*/bin/*' ! -perm 0644)
[ -z "$odd" ] || failed "permissions: $odd"

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/tallyforge" --version 2>&1)
[ "$out" = "Tallyforge $version" ] || failed "installed program --version: $out"

[ $fail -eq 0 ] && echo "installed tree passes"
exit $fail
