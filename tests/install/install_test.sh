#!/usr/bin/env bash
# Installs a build into a temporary DESTDIR and checks it the way a desktop
# and a software centre would see it.
#
#   install_test.sh BUILD_DIR VERSION DESKTOP_ID
set -uo pipefail

build=$1 version=$2 id=$3
destdir=$(mktemp -d)
trap 'rm -rf "$destdir"' EXIT
usr=$destdir/usr
failures=0

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

if ! DESTDIR=$destdir cmake --install "$build" --prefix /usr >/dev/null; then
    echo "FAILED: cmake --install"
    exit 1
fi

for program in olmirafm olmirafm-cli; do
    [ -x "$usr/bin/$program" ] || fail "bin/$program is not installed"
done

desktop=$usr/share/applications/$id.desktop
icon=$usr/share/icons/hicolor/scalable/apps/$id.svg
metainfo=$usr/share/metainfo/$id.metainfo.xml
for file in "$desktop" "$icon" "$metainfo"; do
    [ -f "$file" ] || fail "${file#"$destdir"} is not installed"
done

desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the installed icon"
# A launcher without a file argument: no field code such as %f or %U.
grep -qx "Exec=olmirafm" "$desktop" || fail "the desktop entry's Exec is not plain olmirafm"

appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
# The tree check also finds the desktop entry the metadata launches.
appstreamcli validate-tree --no-net "$destdir" || fail "appstreamcli validate-tree"
newest=$(grep -o -m 1 '<release version="[^"]*"' "$metainfo" | cut -d '"' -f 2)
[ "$newest" = "$version" ] || fail "the newest release in the metadata is $newest, not $version"

# The installed program answers on a console without any display.
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/olmirafm" --version) ||
    fail "olmirafm --version failed"
[ "$answer" = "Olmira Remote File Manager $version" ] ||
    fail "olmirafm --version said: $answer"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/olmirafm" --help | grep -q -- --version ||
    fail "olmirafm --help does not list --version"

[ "$failures" -eq 0 ] || exit 1
echo "installed and valid: $id $version"
