#!/bin/sh
# Every link of the front page and the documentation leads somewhere: a file or folder of the
# repository, and for "file.md#part" or "#part" a heading of that page. Links to the web are
# left alone (the tests use no network).
#   links.sh SOURCE_DIR
set -u
ROOT="$1"
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

# A page's text outside its fenced code blocks.
prose() {
    awk '/^```/ { fenced = !fenced; next } !fenced' "$1"
}

# The anchors a page's headings get: lower case, punctuation dropped, spaces as hyphens.
anchors() {
    prose "$1" | awk '/^#+ / {
        sub(/^#+ +/, ""); s = tolower($0); gsub(/[^a-z0-9 _-]/, "", s); gsub(/ /, "-", s); print s
    }'
}

pages=0
links=0
for page in "$ROOT"/*.md "$ROOT"/docs/*.md; do
    [ -f "$page" ] || continue
    pages=$((pages + 1))
    folder=$(dirname "$page")
    name=${page#"$ROOT"/}
    for link in $(prose "$page" | grep -o '](\([^) ]*\))' | sed 's/^](\(.*\))$/\1/'); do
        links=$((links + 1))
        case "$link" in
        http://* | https://* | mailto:*) continue ;;
        esac
        file=${link%%#*}
        part=
        case "$link" in *#*) part=${link#*#} ;; esac
        target="$page"
        if [ -n "$file" ]; then
            target="$folder/$file"
            [ -e "$target" ] || { fail "$name links to $link: no such file"; continue; }
        fi
        if [ -n "$part" ]; then
            case "$target" in
            *.md) anchors "$target" | grep -qxF -- "$part" ||
                fail "$name links to $link: no heading of that name" ;;
            *) fail "$name links to $link: a part of a page that is not Markdown" ;;
            esac
        fi
    done
done
[ "$pages" -gt 1 ] || fail "no pages found under $ROOT"
echo "$links links on $pages pages"
exit $status
