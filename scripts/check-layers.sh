#!/bin/sh
# Fails when a source file includes a folder its own folder must not see. The folders of src/
# depend one way:
#   scene <- world <- actors <- rules <- bots, render, audio, record <- platform <- net <- app
#   lobby <- net
# The round's state and rules (scene to rules, bots, record) include no GL, SDL, X11 or ENet
# header; only drawing and app talk to the GL, only audio and app to the sound library, only
# platform (and app) to SDL and X11, only net to ENet and libnice;
# the lobby (its rooms, messages and program) sees none of the game, only GLib. Every file in every subfolder counts, and an
# include written as "../folder/..." is refused wherever it stands: it would step around the
# folders the build gives each library.
# Usage: scripts/check-layers.sh [source folder, default src]
SRC="${1:-$(dirname "$0")/../src}"

# What each folder may include, of the game's folders and of the system's libraries.
allowed() {
    case "$1" in
    scene) echo "scene" ;;
    world) echo "scene world" ;;
    actors) echo "scene world actors" ;;
    rules) echo "scene world actors rules" ;;
    bots) echo "scene world actors rules bots" ;;
    render) echo "scene world actors rules render GL" ;;
    audio) echo "scene world actors rules audio SDL plib" ;;
    record) echo "scene world actors rules record" ;;
    platform) echo "scene world actors rules render platform SDL X11" ;;
    net) echo "scene world actors rules record platform lobby net enet nice glib" ;;
    lobby) echo "lobby glib" ;;
    app) echo "scene world actors rules bots render audio record platform lobby net app GL SDL plib" ;;
    *) echo "" ;;
    esac
}

# The library an include names: the game's folder of "folder/...", or the system library of
# <GL/...>, <SDL...>, "SDL...", <SDL2/...>, <X11/...>, <plib/...>, <enet/...>, <nice/...>
# and <glib...>; "PARENT" for a
# "../" include; nothing for anything else.
target_of() {
    echo "$1" | sed -E -n \
        -e 's#.*include[[:space:]]*"\.\./.*#PARENT#p' \
        -e 's#.*include[[:space:]]*[<"](SDL2/|SDL).*#SDL#p' \
        -e 's#.*include[[:space:]]*[<"](GL|X11|plib|enet|nice)/.*#\1#p' \
        -e 's#.*include[[:space:]]*<(glib|gio)[-a-z]*[./].*#glib#p' \
        -e 's#.*include[[:space:]]*"([a-z]+)/.*#\1#p' | head -n 1
}

out="${TMPDIR:-/tmp}/check-layers.$$"
status=0
: >"$out"
for dir in "$SRC"/*/; do
    layer=$(basename "$dir")
    ok=$(allowed "$layer")
    if [ -z "$ok" ]; then
        echo "$dir: a folder outside the known layers" >&2
        status=1
        continue
    fi
    find "$dir" -type f | sort | while IFS= read -r file; do
        grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' "$file" |
            while IFS= read -r line; do
                target=$(target_of "$line")
                [ -n "$target" ] || continue
                name="${file#"$SRC"/}"
                if [ "$target" = PARENT ]; then
                    echo "$name:${line%%:*}: an include may not climb out of its folder with ../"
                    continue
                fi
                case " $ok " in
                *" $target "*) ;;
                *) echo "$name:${line%%:*}: $layer may not include $target" ;;
                esac
            done
    done >>"$out"
done
if [ -s "$out" ]; then
    cat "$out" >&2
    status=1
fi
rm -f "$out"
[ "$status" -eq 0 ] && echo "layers ok"
exit "$status"
