#!/bin/sh
# The manual pages format without a warning of any kind (groff -ww), and each names every option
# its program's --help lists, as an entry of its OPTIONS section: a new option in the table of
# src/app/main.cpp (or in the lobby's usage) that the page lacks fails here.
#   manual_pages.sh TUVO TUVO_LOBBY SOURCE_DIR
set -u
TUVO="$1"
LOBBY="$2"
PAGES="$3/packaging/man"
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

for page in "$PAGES/tuvo.6" "$PAGES/tuvo-lobby.8"; do
    [ -f "$page" ] || { fail "no $page"; continue; }
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=w -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page") formats with warnings:
$warnings"
done

# The OPTIONS section as a reader sees it: each entry's tag starts at the section's indent.
option_tags() {
    LC_ALL=C.UTF-8 MANWIDTH=200 MAN_KEEP_FORMATTING= man -E UTF-8 -l "$1" 2>/dev/null |
        awk '/^[A-Z]/ { inside = ($0 == "OPTIONS") ; next } inside && /^       [^ ]/'
}

# Every --option of a usage text, once each.
options_of() {
    grep -o -- '--[a-z][a-z-]*' | sort -u
}

check() {
    program="$1"
    page="$2"
    usage=$("$program" --help) || { fail "$program --help ended with an error"; return; }
    options=$(printf '%s\n' "$usage" | options_of)
    [ -n "$options" ] || { fail "$program --help lists no options"; return; }
    tags=$(option_tags "$page")
    missing=0
    for option in $options; do
        printf '%s\n' "$tags" | grep -qE -- "(^|[[ ])$option([] ]|\$)" && continue
        fail "$(basename "$page") has no entry for $option, which $(basename "$program") --help lists"
        missing=$((missing + 1))
    done
    [ "$missing" -eq 0 ] &&
        echo "$(basename "$page"): each of the $(printf '%s\n' "$options" | wc -l) options of --help has its entry"
}

check "$TUVO" "$PAGES/tuvo.6"
check "$LOBBY" "$PAGES/tuvo-lobby.8"
exit $status
