# Installs the game into a fresh prefix (with a space in its path) and checks the layout, the
# launcher, the desktop entry and the icons; a staged (DESTDIR) install must name the final
# prefix, never the staging folder. Then the installed launcher, started from another folder,
# shows the same title picture as the game in the build folder, and Esc ends it with code 0.
. "$(dirname "$0")/lib/common.sh"
PREFIX="$OUT/the prefix"
cmake --install "$BUILD_DIR" --prefix "$PREFIX" >"$OUT/install.log" 2>&1 || fail "install failed: $(cat "$OUT/install.log")"

LAUNCHER="$PREFIX/bin/tuvo"
[ -x "$LAUNCHER" ] || fail "no executable launcher at bin/tuvo"
[ -x "$PREFIX/libexec/tuvo/tuvo" ] || fail "no program at libexec/tuvo/tuvo"
head -n 1 "$LAUNCHER" | grep -qx '#!/bin/sh' || fail "the launcher is not a sh script"
grep -qF "$PREFIX/share/tuvo" "$LAUNCHER" || fail "the launcher does not enter the data folder"
for folder in textures sounds; do
    diff -r "$BUILD_DIR/$folder" "$PREFIX/share/tuvo/$folder" >/dev/null ||
        fail "installed $folder differ from the built ones"
done
[ "$(ls "$PREFIX/share/tuvo/textures" | wc -l)" -eq 63 ] || fail "not 63 pictures installed (62 and the letters)"

DESKTOP="$PREFIX/share/applications/tuvo.desktop"
[ -f "$DESKTOP" ] || fail "no desktop entry"
for line in '[Desktop Entry]' 'Type=Application' 'Name=TUVO!!' 'Exec=tuvo' 'Icon=tuvo' \
    'Terminal=false' 'Categories=Game;ActionGame;'; do
    grep -qxF "$line" "$DESKTOP" || fail "desktop entry lacks '$line'"
done
grep -q '^Comment=..' "$DESKTOP" || fail "desktop entry has no comment"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$DESKTOP" || fail "desktop entry does not validate"
fi
[ -f "$PREFIX/share/man/man6/tuvo.6" ] || fail "no manual page at share/man/man6/tuvo.6"
cmp -s "$PREFIX/share/metainfo/io.github.tuvo.Tuvo.metainfo.xml" \
    "$(dirname "$0")/../../packaging/io.github.tuvo.Tuvo.metainfo.xml" ||
    fail "no metainfo at share/metainfo/io.github.tuvo.Tuvo.metainfo.xml"
for size in 256 128 64 48; do
    icon="$PREFIX/share/icons/hicolor/${size}x${size}/apps/tuvo.png"
    file "$icon" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA" ||
        fail "icon ${size}x${size}: $(file "$icon")"
done

# Staged install: files under DESTDIR, paths inside them for the real prefix.
STAGE="$OUT/stage"
DESTDIR="$STAGE" cmake --install "$BUILD_DIR" --prefix /opt/tuvo >"$OUT/stage.log" 2>&1 ||
    fail "staged install failed"
[ -x "$STAGE/opt/tuvo/bin/tuvo" ] || fail "no staged launcher"
grep -qF 'cd "/opt/tuvo/share/tuvo"' "$STAGE/opt/tuvo/bin/tuvo" || fail "staged launcher: wrong data folder"
grep -qF 'exec "/opt/tuvo/libexec/tuvo/tuvo"' "$STAGE/opt/tuvo/bin/tuvo" || fail "staged launcher: wrong program"
grep -qF "$STAGE" "$STAGE/opt/tuvo/bin/tuvo" && fail "the staging folder leaked into the launcher"
rm -rf "$STAGE"

xdotool mousemove 10 10
start_game
shot built
press_key Escape
expect_exit 0

start_command / "$LAUNCHER"
shot installed
changed=$(changed_pixels built installed 1024x735+0+0)
[ "${changed:-999999}" -lt 2000 ] || fail "the installed game's title differs ($changed pixels)"
colours=$(convert "$OUT/installed.png" -crop 1024x735+0+0 +repage -format %k info:)
[ "$colours" -gt 1000 ] || fail "no title picture on screen ($colours colours)"
press_key Escape
expect_exit 0
rm -rf "$PREFIX"
echo "install ok"
