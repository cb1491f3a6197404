#!/bin/sh
# Fails when a source file includes a folder its own folder must not see. The folders of src/
# depend one way:
#   scene <- world <- actors <- rules <- bots, render, audio, record <- platform <- net <- screens
#   <- app
#   lobby <- net
# The round's state and rules (scene to rules, bots, record) include no GL, SDL, X11 or ENet
# header; only drawing and app talk to the GL, only audio and app to the sound library, only
# platform (and app) to SDL and X11, only net to ENet and libnice; the lobby (its rooms, messages
# and program) sees none of the game, only GLib. Every file in every subfolder counts, and
# so does every way of naming a header: #include "..." and <...>, and __has_include. A header
# of the game's own folders counts whichever way it is named: <render/Views.h> as much as
# "render/Views.h" (a system header that shares a folder's name, like <net/if.h>, is no file of
# src/ and stays the system's). A quoted include names a folder of src/ from its start: one that climbs ("..") or starts at "./" would
# step around the folders the build gives each library, and one made by a macro cannot be read;
# all three are refused. No source file lies directly in src/.
# Also refused: a tuning value of the round written out again outside its one table.
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
    screens) echo "scene world actors rules bots render audio record platform lobby net screens" ;;
    app) echo "scene world actors rules bots render audio record platform lobby net screens app GL SDL plib" ;;
    *) echo "" ;;
    esac
}

GAME_FOLDERS="scene world actors rules bots render audio record platform lobby net screens app"

# Every header a file names, one a line: "LINE KIND PATH", KIND q for "...", a for <...>, m for
# an include made by a macro (no path).
headers_named() {
    awk '
    function named(text, kind) {
        if (kind == "q" && match(text, /"[^"]*"/))
            print NR " q " substr(text, RSTART + 1, RLENGTH - 2)
        else if (kind == "a" && match(text, /<[^>]*>/))
            print NR " a " substr(text, RSTART + 1, RLENGTH - 2)
    }
    {
        line = $0
        if (line ~ /^[ \t]*#[ \t]*include[ \t]*"/)
            named(line, "q")
        else if (line ~ /^[ \t]*#[ \t]*include[ \t]*</)
            named(line, "a")
        else if (line ~ /^[ \t]*#[ \t]*include[ \t]*[A-Za-z_]/)
            print NR " m -"
        rest = line
        while (match(rest, /__has_include[ \t]*\([ \t]*("[^"]*"|<[^>]*>)/)) {
            found = substr(rest, RSTART, RLENGTH)
            rest = substr(rest, RSTART + RLENGTH)
            if (found ~ /"/)
                named(found, "q")
            else
                named(found, "a")
        }
    }' "$1"
}

# The library a header belongs to: a game folder, a system library the rule is about (GL for
# GL, EGL and GLES, X11 for X11 and xcb, SDL, plib, enet, nice, glib for GLib and GIO), PARENT, HERE or MACRO for the
# refused forms, or nothing for anything else (the standard library, headers beside the file).
library_of() {
    kind="$1"
    path="$2"
    if [ "$kind" = m ]; then
        echo MACRO
        return
    fi
    if [ "$kind" = q ]; then
        case "/$path/" in
        */../* | */..) echo PARENT; return ;;
        esac
        case "$path" in
        ./* | /*) echo HERE; return ;;
        esac
    fi
    first="${path%%/*}"
    [ "$first" = "$path" ] && first=""
    case "$path" in
    SDL* | SDL2/*) echo SDL; return ;;
    glib.h | glib/* | glib-*.h | gio/*) echo glib; return ;;
    esac
    case "$first" in
    GL | EGL | GLES | GLES2 | GLES3) echo GL ;;
    X11 | xcb) echo X11 ;;
    plib | enet | nice) echo "$first" ;;
    *)
        [ -n "$first" ] || return
        case " $GAME_FOLDERS " in
        *" $first "*)
            if [ "$kind" = q ] || [ -e "$SRC/$path" ]; then
                echo "$first"
            fi
            ;;
        *) [ "$kind" = q ] && echo "UNKNOWN:$first" ;;
        esac
        ;;
    esac
}

out="${TMPDIR:-/tmp}/check-layers.$$"
status=0
: >"$out"
for file in "$SRC"/*; do
    [ -f "$file" ] && echo "${file#"$SRC"/}: a source file outside every folder of src/" >>"$out"
done
for dir in "$SRC"/*/; do
    layer=$(basename "$dir")
    ok=$(allowed "$layer")
    if [ -z "$ok" ]; then
        echo "$dir: a folder outside the known layers" >&2
        status=1
        continue
    fi
    find "$dir" -type f | sort | while IFS= read -r file; do
        name="${file#"$SRC"/}"
        headers_named "$file" | while read -r line kind path; do
            target=$(library_of "$kind" "$path")
            [ -n "$target" ] || continue
            case "$target" in
            PARENT) echo "$name:$line: an include may not climb out of its folder with ../" ;;
            HERE) echo "$name:$line: an include names its folder from src/, not from ./ or /" ;;
            MACRO) echo "$name:$line: an include must name its header, not a macro" ;;
            UNKNOWN:*) echo "$name:$line: \"$path\" names no folder of src/" ;;
            *)
                case " $ok " in
                *" $target "*) ;;
                *) echo "$name:$line: $layer may not include $target" ;;
                esac
                ;;
            esac
        done
    done >>"$out"
done

# A tuning value of the round is written out once, in world/Tuning.h: elsewhere a name of the
# table given a number again, or the round's length spelled out (in ms or ticks), is refused.
grep -rn -E '\b(arenaEdge|arenaSize|lastCell|roundMinutes|minuteMs|roundMs|ticksPerSecond|ticksPerRound|cameraBack|cameraHeight|lookHeight|layingPool|fireParticles|snowflakes|fuseMs|burnMs|homeGraceMs|labyrinthLockMs|bodyRadius|creatureStep|stepLength|freshStepLength|fastestStepLength|speedBonus|freshReach|fullReach|hitPenalty|coinPoints|cheesePoints|snowStopPhase)[[:space:]]*=[[:space:]]*(0\.[0-9]+|[1-9])|360000|21600' \
    "$SRC" 2>/dev/null | grep -v '/world/Tuning.h:' |
    sed -E "s#^$SRC/*##; s#^([^:]+:[0-9]+):.*#\1: a tuning value written out again; name it from world/Tuning.h#" \
        >>"$out"

if [ -s "$out" ]; then
    cat "$out" >&2
    status=1
fi
rm -f "$out"
[ "$status" -eq 0 ] && echo "layers ok"
exit "$status"
