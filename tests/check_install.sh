#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop expects to find there:
# the program, the menu entry, the icons, the AppStream metadata and the man pages; validates
# the menu entry and the metadata; asks the installed program for --version and --help
# without a display; and has the installed content tool write and check a new book away from
# the source and build trees.
#   check_install.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null

id=org.qcbook.qcbook
expected=(usr/bin/qcbook
          usr/bin/qcbook-content
          "usr/share/applications/$id.desktop"
          "usr/share/metainfo/$id.metainfo.xml"
          "usr/share/mime/packages/$id.xml"
          "usr/share/icons/hicolor/scalable/apps/$id.svg"
          usr/share/man/man1/qcbook.1.gz
          usr/share/man/man1/qcbook-content.1.gz
          usr/share/doc/qcbook/copyright
          usr/share/doc/qcbook/changelog.gz
          usr/bin/qcbook-studio
          usr/share/applications/org.qcbook.studio.desktop
          usr/share/icons/hicolor/scalable/apps/org.qcbook.studio.svg
          usr/share/man/man1/qcbook-studio.1.gz)
for size in 16 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
status=0
for file in "${expected[@]}"; do
    [ -s "$dest/$file" ] || { echo "missing: /$file"; status=1; }
done
for size in 16 48 256; do
    file "$dest/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "$size x $size" ||
        { echo "the ${size}px icon is not ${size} x ${size}"; status=1; }
done
for program in qcbook qcbook-content qcbook-studio; do
    [ -x "$dest/usr/bin/$program" ] || { echo "$program is not executable"; status=1; }
done
if command -v man >/dev/null; then
    for page in qcbook qcbook-content qcbook-studio; do
        man -l "$dest/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null | grep . &&
            { echo "the man page $page.1 has errors"; status=1; }
    done
fi
# Nothing else goes in: no headers, libraries or test programs.
extra=$(cd "$dest" && find . -type f | sed 's|^\./||' | sort | comm -23 - <(printf '%s\n' "${expected[@]}" | sort))
[ -z "$extra" ] || { echo "unexpected files:"; echo "$extra"; status=1; }

desktop-file-validate "$dest/usr/share/applications/$id.desktop" || status=1
desktop-file-validate "$dest/usr/share/applications/org.qcbook.studio.desktop" || status=1
appstreamcli validate --no-net --pedantic "$dest/usr/share/metainfo/$id.metainfo.xml" || status=1
grep -q '^MimeType=application/x-qcbook;$' "$dest/usr/share/applications/$id.desktop" ||
    { echo "the menu entry does not open book files"; status=1; }
# The type file must compile into the MIME database (done on the desktop by a package trigger);
# the database goes into a copy so that it is not counted as installed.
mime=$(mktemp -d)
cp -r "$dest/usr/share/mime" "$mime/"
XDG_DATA_DIRS="$mime" update-mime-database "$mime/mime" 2>&1 | grep . && status=1
grep -q 'x-qcbook' "$mime/mime/globs2" || { echo "*.qcbook is not in the MIME database"; status=1; }
rm -rf "$mime"

out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$dest/usr/bin/qcbook" --version)
[ "$out" = "qcbook $version" ] || { echo "--version said: $out"; status=1; }
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$dest/usr/bin/qcbook-studio" --version)
[ "$out" = "qcbook-studio $version" ] || { echo "qcbook-studio --version said: $out"; status=1; }
help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$dest/usr/bin/qcbook" --help)
for word in --help --version; do
    grep -q -- "$word" <<<"$help" || { echo "--help does not name $word"; status=1; }
done
if env -u DISPLAY QT_QPA_PLATFORM=offscreen "$dest/usr/bin/qcbook" --no-such-option 2>/dev/null; then
    echo "an unknown option was accepted"; status=1
fi
# The installed tool finds everything it needs without the source tree: run from an empty
# folder, it writes the template book and passes its check.
work=$(mktemp -d)
(cd "$work" && env -u DISPLAY QT_QPA_PLATFORM= "$dest/usr/bin/qcbook-content" --new-book book >/dev/null &&
    env -u DISPLAY QT_QPA_PLATFORM= "$dest/usr/bin/qcbook-content" --source book --check >/dev/null) ||
    { echo "the installed content tool cannot write and check a new book"; status=1; }
rm -rf "$work"
[ $status = 0 ] && echo "install layout ok"
exit $status
