#!/bin/sh
# Builds the Debian package, installs it on this machine with dpkg (needs root), starts the game
# with `tuvo` from the PATH on a virtual display, takes a screenshot of its title, ends it with Esc,
# checks the exit code and removes the package again. Not part of the test run: it installs
# system-wide.
#   scripts/package-check.sh [build folder, default build-package]
set -eu
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
BUILD="${1:-build-package}"
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
OUT="$BUILD/package-check"
[ "$(id -u)" -eq 0 ] || { echo "package-check: dpkg -i needs root" >&2; exit 1; }
if dpkg-query -W -f='${Status}' tuvo 2>/dev/null | grep -q "install ok installed"; then
    echo "package-check: a tuvo package is already installed; remove it first" >&2
    exit 1
fi

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTUVO_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target tuvo
rm -f "$BUILD"/tuvo_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
DEB=$(ls "$BUILD"/tuvo_*.deb)
rm -rf "$OUT"
mkdir -p "$OUT"
echo "== $DEB"
dpkg-deb -f "$DEB"
dpkg-deb -f "$DEB" Section | grep -qx games || { echo "FAIL: section is not games" >&2; exit 1; }

GAME_PID=""
XVFB_PID=""
INSTALLED=""
cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    [ -n "$INSTALLED" ] && dpkg -r tuvo >/dev/null 2>&1
    return 0
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$OUT/game.log" ] && { echo "--- game output:" >&2; cat "$OUT/game.log" >&2; }
    exit 1
}

dpkg -i "$DEB" || fail "dpkg -i"
INSTALLED=1
dpkg -s tuvo | grep -q "^Status: install ok installed" || fail "dpkg does not list tuvo as installed"
LAUNCHER=$(command -v tuvo) || fail "no tuvo on the PATH"
echo "launcher: $LAUNCHER"
for f in /usr/share/applications/tuvo.desktop /usr/share/icons/hicolor/256x256/apps/tuvo.png \
    /usr/share/tuvo/textures/menu.bmp /usr/share/tuvo/sounds/reefer_c1.wav \
    /usr/share/man/man6/tuvo.6 /usr/share/metainfo/io.github.tuvo.Tuvo.metainfo.xml; do
    [ -f "$f" ] || fail "missing $f"
done

. scripts/lib/xvfb.sh
start_xvfb
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

# From a folder that holds no game data, as a player would start it.
(cd /tmp && exec tuvo) >"$OUT/game.log" 2>&1 &
GAME_PID=$!
WIN=""
for i in $(seq 1 200); do
    WIN=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^TUVO!!$' 2>/dev/null | head -n 1)
    [ -n "$WIN" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window appeared"
    sleep 0.1
done
[ -n "$WIN" ] || fail "no window titled TUVO!!"
sleep 3
import -window root "$OUT/title.png" || fail "screenshot"
colours=$(convert "$OUT/title.png" -crop 1024x735+0+0 +repage -format %k info:)
[ "$colours" -gt 1000 ] || fail "no title picture on screen ($colours colours)"
echo "screenshot: $OUT/title.png ($colours colours)"
timeout 5 xdotool windowfocus --sync "$WIN" 2>/dev/null || true
xdotool key --clearmodifiers Escape
for i in $(seq 1 100); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end on Esc"
set +e
wait "$GAME_PID"
code=$?
set -e
GAME_PID=""
[ "$code" -eq 0 ] || fail "exit code $code"

dpkg -r tuvo >/dev/null || fail "dpkg -r"
INSTALLED=""
[ ! -e /usr/bin/tuvo ] && [ ! -e /usr/share/tuvo ] || fail "files left behind after dpkg -r"
echo "package ok: installed, ran from the PATH, ended with code 0, removed"
