#!/usr/bin/env bash
# Builds the Debian package in ./build with CPack and checks its control fields and its files.
#   bash scripts/check_deb.sh
set -euo pipefail
cd "$(dirname "$0")/../build"
rm -f qcbook_*.deb
cpack -G DEB >/dev/null
deb=$(ls qcbook_*_*.deb)
status=0
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = qcbook ] || { echo "Package: $(field Package)"; status=1; }
[ "$(field Section)" = education ] || { echo "Section: $(field Section)"; status=1; }
[ -n "$(field Maintainer)" ] || { echo "no Maintainer"; status=1; }
[ -n "$(field Description)" ] || { echo "no Description"; status=1; }
# The program's libraries and fonts; the tool's libraries (FFmpeg's, libebur128, PocketSphinx,
# Tesseract with its English model) and the programs and picture readers it runs.
for dependency in libqt6widgets6 libsdl2-mixer libsndfile1 fonts-noto-cjk libavformat libavcodec \
                  libswresample libebur128 libpocketsphinx libtesseract tesseract-ocr-eng sox libsox-fmt-mp3 lame \
                  qt6-image-formats-plugins; do
    field Depends | grep -q "$dependency" || { echo "Depends lacks $dependency"; status=1; }
done
for voice in festival festvox-us-slt-hts espeak-ng pocketsphinx-en-us; do
    field Recommends | grep -q "$voice" || { echo "Recommends lacks $voice"; status=1; }
done
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/qcbook ./usr/bin/qcbook-content ./usr/share/applications/org.qcbook.qcbook.desktop \
            ./usr/bin/qcbook-studio ./usr/share/applications/org.qcbook.studio.desktop \
            ./usr/share/icons/hicolor/scalable/apps/org.qcbook.studio.svg \
            ./usr/share/man/man1/qcbook-studio.1.gz \
            ./usr/share/metainfo/org.qcbook.qcbook.metainfo.xml \
            ./usr/share/mime/packages/org.qcbook.qcbook.xml \
            ./usr/share/icons/hicolor/256x256/apps/org.qcbook.qcbook.png \
            ./usr/share/icons/hicolor/scalable/apps/org.qcbook.qcbook.svg \
            ./usr/share/man/man1/qcbook.1.gz ./usr/share/man/man1/qcbook-content.1.gz \
            ./usr/share/doc/qcbook/copyright; do
    grep -qx -- "$file" <<<"$files" || { echo "the package lacks $file"; status=1; }
done
[ $status = 0 ] && echo "$deb: control fields and files ok"
exit $status
