#!/bin/sh
# Installs every Debian package that building, playing and testing TUVO!! needs.
# A quick no-op when everything is already there.
set -e
PACKAGES="g++ cmake make pkg-config libsdl2-dev libgl-dev libglu1-mesa-dev freeglut3-dev \
libplib-dev libenet-dev libcairo2-dev fonts-dejavu-core libgtest-dev googletest libgl1-mesa-dri \
xvfb xauth xfonts-base xdotool imagemagick tesseract-ocr x11-utils sox clang libclang-rt-14-dev dpkg-dev file time"
missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
