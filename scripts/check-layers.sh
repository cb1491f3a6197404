#!/bin/sh
# Fails when a source file includes a folder its own folder must not see. The folders of src/
# depend one way: scene <- world <- actors <- rules <- render / audio <- app. Only drawing and
# app may include the GL, only audio and app SDL and the sound library, only app the network.
# Usage: scripts/check-layers.sh [source folder, default src]
SRC="${1:-$(dirname "$0")/../src}"

# What each folder may include, of the game's folders and of the system's libraries.
allowed() {
    case "$1" in
    scene) echo "scene" ;;
    world) echo "scene world" ;;
    actors) echo "scene world actors" ;;
    rules) echo "scene world actors rules" ;;
    render) echo "scene world actors rules render GL" ;;
    audio) echo "scene world actors rules audio SDL plib" ;;
    app) echo "scene world actors rules render audio app GL SDL plib enet" ;;
    *) echo "" ;;
    esac
}

status=0
for dir in "$SRC"/*/; do
    layer=$(basename "$dir")
    ok=$(allowed "$layer")
    if [ -z "$ok" ]; then
        echo "$dir: a folder outside the known layers" >&2
        status=1
        continue
    fi
    for file in "$dir"*; do
        [ -f "$file" ] || continue
        # "folder/..." of the game, <GL/...>, <SDL...> and <plib/...> of the system.
        grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*("[a-z]+/|<(GL/|SDL|plib/|enet/))' "$file" |
            while IFS= read -r line; do
                target=$(echo "$line" | sed -E 's/.*include[[:space:]]*["<]([A-Za-z]+).*/\1/')
                case " $ok " in
                *" $target "*) ;;
                *) echo "$file:${line%%:*}: $layer may not include $target" ;;
                esac
            done
    done
done >"${TMPDIR:-/tmp}/check-layers.$$"
if [ -s "${TMPDIR:-/tmp}/check-layers.$$" ]; then
    cat "${TMPDIR:-/tmp}/check-layers.$$" >&2
    status=1
fi
rm -f "${TMPDIR:-/tmp}/check-layers.$$"
[ "$status" -eq 0 ] && echo "layers ok"
exit "$status"
