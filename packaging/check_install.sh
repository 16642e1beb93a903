#!/usr/bin/env bash
# Installs the program built in BUILD_DIR into a temporary directory with the Debian package's
# layout (prefix /usr), checks the installed files, validates the desktop entry and the
# AppStream metainfo, and runs the installed program on an installed song; then makes the
# Debian package and checks its dependencies and files. Builds nothing: BUILD_DIR must be
# built. Needs desktop-file-utils, appstream, dpkg-dev and file.
#
#   packaging/check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=$(realpath "$1")
source=$(realpath "$2")
# Outside the build tree: a program run from inside it takes its data from the source tree.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
data=$root/usr/share/tolvar32

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# The files, one a line, relative to the root.
expected_files() {
    printf '%s\n' usr/bin/tolvar32 \
        usr/share/applications/tolvar32.desktop \
        usr/share/metainfo/org.tolvar32.Tolvar32.metainfo.xml \
        usr/share/icons/hicolor/scalable/apps/tolvar32.svg \
        usr/share/icons/hicolor/48x48/apps/tolvar32.png \
        usr/share/icons/hicolor/256x256/apps/tolvar32.png \
        usr/share/man/man1/tolvar32.1.gz \
        usr/share/tolvar32/about.bmp \
        usr/share/tolvar32/midimap.syn \
        usr/share/doc/tolvar32/copyright
    (cd "$source/resources" && find help songs -type f -printf 'usr/share/tolvar32/%p\n')
}

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
diff -u <(expected_files | sort) <(cd "$root" && find . -type f -printf '%P\n' | sort) ||
    fail "the installed files are not the expected ones (- expected, + installed)"
[ -x "$root/usr/bin/tolvar32" ] || fail "the installed program is not executable"
gzip -t "$root/usr/share/man/man1/tolvar32.1.gz" || fail "the man page is not gzipped"

desktop-file-validate "$root/usr/share/applications/tolvar32.desktop" ||
    fail "desktop-file-validate"
# validate-tree validates the metainfo as validate does, and finds the desktop entry it names.
report=$(appstreamcli validate-tree --no-net "$root" 2>&1) ||
    fail "appstreamcli validate-tree: $report"

# The installed program, on settings of its own, draws a page of an installed song and names
# the programs of its tracks as the program in the build tree does: from midimap.syn, found in
# share/tolvar32 beside the installed bin/. Without that file the names go.
export TOLVAR32_INI=$work/tolvar32.ini
installed=$root/usr/bin/tolvar32
"$installed" --render-page "$data/songs/speed_the_plough.mid" "$work/page.png" ||
    fail "--render-page on an installed song"
[ "$(head -c 4 "$work/page.png" | tail -c 3)" = PNG ] || fail "--render-page wrote no PNG"
song=$data/songs/little_waltz.mid
summary=$("$installed" --summary "$song")
[ "$summary" = "$("$build/tolvar32" --summary "$song")" ] ||
    fail "the installed program names the programs otherwise: $summary"
mv "$data/midimap.syn" "$work/"
[ "$summary" != "$("$installed" --summary "$song")" ] ||
    fail "the installed program did not read the installed midimap.syn"

# The package: the libraries the program links, found by dpkg-shlibdeps, and the packages it
# needs at run time beside them; the same files as the install.
report=$(cpack --config "$build/CPackConfig.cmake" -B "$work/package" -G DEB 2>&1) ||
    fail "cpack: $report"
package=("$work"/package/tolvar32_*.deb)
[ -f "${package[0]}" ] || fail "cpack made no package"
depends=$(dpkg-deb -f "${package[0]}" Depends)
for needed in "timgm6mb-soundfont | sf2-soundfont-gm" fonts-oflb-euterpe qt6-qpa-plugins \
    "libc6 (" libqt6widgets6 libfluidsynth librtmidi libsndfile1; do
    [[ "$depends" == *"$needed"* ]] || fail "the package does not depend on $needed: $depends"
done
diff -u <(expected_files | sort) \
    <(dpkg-deb -c "${package[0]}" | awk '/^-/ { sub("^\\./", "", $6); print $6 }' | sort) ||
    fail "the package's files are not the expected ones (- expected, + packaged)"
echo "Installed tree and package are complete; the installed program finds its data"
