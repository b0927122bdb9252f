#!/usr/bin/env bash
# Installs what is missing (Debian 12), configures and builds the game, its
# tools and tests, and makes the default content in build/content.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  libsdl2-dev libx11-dev libxext-dev libxrender-dev libgl1-mesa-dev libglu1-mesa-dev libjpeg62-turbo-dev
  libopenal-dev libsndfile1-dev libpixman-1-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  libfreetype-dev fonts-dejavu-core libpng-dev libimgui-dev
  xvfb xauth xdotool x11-utils x11-xserver-utils xserver-xephyr openbox imagemagick ffmpeg valgrind
  time libjpeg-turbo-progs lame
  sway xwayland grim wtype jq
  dpkg-dev file desktop-file-utils appstream lintian
)

missing=()
for package in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "Missing packages. Install them as root with:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The build also makes the default content in build/content.
cmake --build build
