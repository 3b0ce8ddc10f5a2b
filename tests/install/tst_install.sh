#!/usr/bin/env bash
# Installs the build into a temporary prefix and makes the Debian package from it, then checks
# what a desktop finds there: the program in bin/, a valid menu entry, its icon, the package's
# dependencies and documents, and what lintian, Debian's own checker, says of the package.
# Usage: tst_install.sh BUILD_DIR
set -euo pipefail

build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
fail() {
    echo "FAIL: $*"
    echo "$passed passed, 1 failed"
    exit 1
}
ok() { passed=$((passed + 1)); }

for tool in desktop-file-validate dpkg-deb dpkg-shlibdeps cpack lintian; do
    command -v "$tool" >/dev/null || fail "$tool is needed (scripts/test installs desktop-file-utils, dpkg-dev and lintian)"
done

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
[[ -x $prefix/bin/amidakuji ]] || fail "no executable at bin/amidakuji"; ok
[[ ! -e $prefix/amidakuji ]] || fail "the executable also lies at the top of the prefix"; ok

entry=$prefix/share/applications/amidakuji.desktop
[[ -f $entry ]] || fail "no menu entry in share/applications"; ok
problems=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $problems"
[[ -z $problems ]] || fail "desktop-file-validate: $problems"; ok
grep -qx 'Name=あみだくじ２' "$entry" || fail "the entry's Name is not あみだくじ２"; ok
comment=$(sed -n 's/^Comment=//p' "$entry")
/usr/bin/python3 -c 'import sys, unicodedata as u; sys.exit(not any("CJK" in u.name(c, "") or "HIRAGANA" in u.name(c, "") for c in sys.argv[1]))' \
    "$comment" || fail "the entry's Comment is not Japanese: $comment"; ok
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[[ -x $prefix/bin/$exec_name ]] || fail "Exec=$exec_name is not the installed program"; ok

icon=$(sed -n 's/^Icon=//p' "$entry")
svg=$prefix/share/icons/hicolor/scalable/apps/$icon.svg
[[ -f $svg ]] || fail "no icon $icon.svg in the hicolor theme"; ok
/usr/bin/python3 -c 'import sys, xml.etree.ElementTree as t; r = t.parse(sys.argv[1]).getroot(); sys.exit(r.tag != "{http://www.w3.org/2000/svg}svg")' \
    "$svg" || fail "the icon is not an SVG document"; ok

cpack --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 || fail "cpack: $(cat "$work/cpack.log")"
debs=("$work"/deb/amidakuji_*.deb)
[[ -f ${debs[0]} ]] || fail "cpack made no .deb"; ok
depends=$(dpkg-deb -f "${debs[0]}" Depends)
for package in libqt6widgets6 libqt6printsupport6 libqt6gui6 libqt6core6 qt6-qpa-plugins \
    qt6-translations-l10n fonts-ipafont-gothic libqt6sql6 libqt6sql6-sqlite libqt6multimedia6 libc6; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "the package does not depend on $package: $depends"
    ok
done
contents=$(dpkg-deb -c "${debs[0]}")
for path in ./usr/bin/amidakuji ./usr/share/applications/amidakuji.desktop \
    ./usr/share/icons/hicolor/scalable/apps/amidakuji.svg ./usr/share/man/man1/amidakuji.1.gz \
    ./usr/share/doc/amidakuji/changelog.gz ./usr/share/doc/amidakuji/copyright; do
    [[ $contents == *" $path"* ]] || fail "the package lacks $path"
    ok
done

# lintian finds nothing, apart from the placeholder maintainer address (ending in @invalid) while
# AMIDAKUJI_PACKAGE_CONTACT is not set: it names it in the Maintainer field and in the changelog.
maintainer=$(dpkg-deb -f "${debs[0]}" Maintainer)
expected=""
if [[ $maintainer == *@invalid\> ]]; then
    expected="bogus-mail-host bogus-mail-host-in-debian-changelog"
fi
lintian --fail-on none "${debs[0]}" >"$work/lintian.out" 2>"$work/lintian.err" ||
    fail "lintian could not check the package: $(cat "$work/lintian.err")"
tags=$(awk '{print $3}' "$work/lintian.out" | sort | tr '\n' ' ' | sed 's/ $//')
[[ $tags == "$expected" ]] || fail "lintian (maintainer $maintainer) expected: '$expected', reported:
$(cat "$work/lintian.out")"
ok

echo "$passed passed, 0 failed"
