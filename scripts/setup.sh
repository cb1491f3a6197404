#!/bin/sh
# Installs every Debian package that building, playing and testing TUVO!! needs.
# A quick no-op when everything is already there.
set -e
PACKAGES="g++ cmake make pkg-config libsdl2-dev libgl-dev libglu1-mesa-dev freeglut3-dev \
libplib-dev libenet-dev libcairo2-dev fonts-dejavu-core libgtest-dev googletest libgl1-mesa-dri \
xvfb xauth xfonts-base xdotool imagemagick tesseract-ocr x11-utils sox clang libclang-rt-14-dev dpkg-dev file time \
libnice-dev libglib2.0-dev coturn nftables conntrack iproute2 appstream man-db groff-base"
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
# coturn comes as a system service, started and enabled where systemd runs. The tests start
# their own relay in a namespace of their own; a relay of this machine's is only wanted when
# set up on purpose (packaging/server/), so the one just installed is stopped and left off.
case " $missing " in
*" coturn "*)
    if [ -d /run/systemd/system ]; then
        $SUDO systemctl disable --now coturn.service >/dev/null 2>&1 || true
    elif [ -x /etc/init.d/coturn ]; then
        $SUDO /etc/init.d/coturn stop >/dev/null 2>&1 || true
    fi
    ;;
esac
