#!/usr/bin/env bash
# Installs the build tree into a temporary DESTDIR under another prefix and
# checks what a desktop gets: the program and its command line, the menu
# entry, the icons and the AppStream file. Exits 77 (skipped) only when the
# validators are missing.
#
#   check_installed_tree.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 app_id=$2 version=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$stage cmake --install "$build" --prefix /opt/kalvo-test >/dev/null
root=$stage/opt/kalvo-test
kalvo=$root/bin/kalvo
desktop=$root/share/applications/$app_id.desktop
metainfo=$root/share/metainfo/$app_id.metainfo.xml
for file in "$kalvo" "$desktop" "$metainfo" "$root/share/icons/hicolor/scalable/apps/kalvo.svg" \
            "$root/share/icons/hicolor/48x48/apps/kalvo.png"; do
    [[ -f $file ]] || fail "not installed: ${file#"$stage"}"
done
[[ -x $kalvo ]] || fail "bin/kalvo is not executable"
grep -q '<svg' "$root/share/icons/hicolor/scalable/apps/kalvo.svg" || fail "kalvo.svg is no SVG"
# Width and height of the PNG, from its header.
size=$(od -An -tu1 -j16 -N8 "$root/share/icons/hicolor/48x48/apps/kalvo.png" | tr -s ' ')
[[ $size == " 0 0 0 48 0 0 0 48" ]] || fail "kalvo.png is not 48x48:$size"

# --help, --version and a wrong option answer without a display: with the X11
# platform and no DISPLAY, opening a window would abort.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb)
[[ $("${no_display[@]}" "$kalvo" --version) == "Kalvo $version" ]] || fail "--version"
"${no_display[@]}" "$kalvo" --help | grep -q 'Usage: .*kalvo \[options\] \[FILE...\]' || fail "--help"
status=0
"${no_display[@]}" "$kalvo" --no-such-option >/dev/null 2>"$stage/err" || status=$?
[[ $status == 2 ]] || fail "a wrong option exits with $status, not 2"
[[ $(head -n1 "$stage/err") == "kalvo: Unknown option 'no-such-option'." ]] || fail "error line: $(head -n1 "$stage/err")"
grep -q '^Usage:' "$stage/err" || fail "no usage after the error"

missing=()
command -v desktop-file-validate >/dev/null || missing+=("desktop-file-validate (Debian package desktop-file-utils)")
command -v appstreamcli >/dev/null || missing+=("appstreamcli (Debian package appstream)")
if ((${#missing[@]})); then
    echo "SKIP: installed tree is complete, but cannot validate it without: ${missing[*]}"
    exit 77
fi
desktop-file-validate "$desktop" || fail "desktop entry does not validate"
appstreamcli validate --no-net "$metainfo" || fail "AppStream file does not validate"
echo "installed tree OK"
