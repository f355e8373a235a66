#!/usr/bin/env bash
# Sets up a Debian 12 machine for qcbook, then configures and builds it.
#   bash scripts/setup.sh          install packages (when root) and build into ./build
#   bash scripts/setup.sh --run    ... then start the program
#   bash scripts/setup.sh --test   ... then run every test through ctest
# QCBOOK_WERROR=ON turns compiler warnings into errors; QCBOOK_CONTENT_DIR builds another book.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-private-dev qt6-svg-dev libgl-dev
    libsndfile1-dev libsdl2-mixer-dev libxxhash-dev
    libavformat-dev libavcodec-dev libavutil-dev libswresample-dev qt6-image-formats-plugins
    libgtest-dev libgmock-dev libbenchmark-dev
    espeak-ng festival festvox-us-slt-hts sox libsox-fmt-base libsox-fmt-mp3 lame libebur128-dev
    ffmpeg
    pocketsphinx pocketsphinx-en-us libpocketsphinx-dev
    libtesseract-dev tesseract-ocr-eng
    fonts-noto-cjk fonts-urw-base35
    xvfb xauth xdotool imagemagick
    desktop-file-utils appstream shared-mime-info dpkg-dev file python3
)

if [ "$(id -u)" = 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${packages[@]}"
else
    missing=$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>&1 | grep -v 'install ok installed' || true)
    if [ -n "$missing" ]; then
        echo "Missing packages (run this script as root to install them):" >&2
        echo "$missing" >&2
        exit 1
    fi
fi

cmake_args=(-S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
            "-DQCBOOK_WERROR=${QCBOOK_WERROR:-OFF}")
if [ -n "${QCBOOK_CONTENT_DIR:-}" ]; then
    cmake_args+=("-DQCBOOK_CONTENT_DIR=${QCBOOK_CONTENT_DIR}")
fi
cmake "${cmake_args[@]}"
cmake --build build -j"$(nproc)"

case "${1:-}" in
    --run)
        exec ./build/src/qcbook
        ;;
    --test)
        exec ctest --test-dir build --output-on-failure -j"$(nproc)"
        ;;
esac
