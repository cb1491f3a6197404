#!/bin/sh
# The AppStream metainfo validates, names the desktop entry that is installed beside it, shows
# screenshots the repository holds, and lists the releases CHANGELOG.md lists, with their dates.
#   metainfo.sh SOURCE_DIR
set -u
ROOT="$1"
META="$ROOT/packaging/io.github.tuvo.Tuvo.metainfo.xml"
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

appstreamcli validate --no-net --no-color "$META" || fail "appstreamcli does not validate $META"

desktop=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$META")
[ -n "$desktop" ] && [ -f "$ROOT/packaging/$desktop" ] ||
    fail "the launchable '$desktop' is not a desktop entry in packaging/"

shots=$(sed -n 's|.*<image>.*/docs/screenshots/\([^<]*\)</image>.*|\1|p' "$META")
[ -n "$shots" ] || fail "no screenshots"
for shot in $shots; do
    [ -f "$ROOT/docs/screenshots/$shot" ] || fail "the screenshot $shot is not in docs/screenshots"
done

# "## 1.0.0 - 2026-12-07" in the changelog, <release version="1.0.0" date="2026-12-07"> here.
logged=$(sed -n 's/^## \([0-9][0-9.]*\) - \([0-9-]*\)$/\1 \2/p' "$ROOT/CHANGELOG.md" | sort)
listed=$(sed -n 's/.*<release version="\([^"]*\)" date="\([^"]*\)".*/\1 \2/p' "$META" | sort)
[ -n "$logged" ] || fail "CHANGELOG.md lists no release"
[ "$logged" = "$listed" ] || fail "the releases differ: CHANGELOG.md has
$logged
and the metainfo
$listed"
exit $status
