#!/usr/bin/env bash
# Installs the build tree into a temporary DESTDIR under another prefix and
# checks the program, its command line without a display, the menu entry, the
# icons and the AppStream file. Exits 77 (skipped) only when the validators
# are missing.   Usage: check_installed_tree.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 app_id=$2 version=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$stage cmake --install "$build" --prefix /opt/kalvo-test >/dev/null
cd "$stage/opt/kalvo-test"
for file in bin/kalvo "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
            share/icons/hicolor/scalable/apps/kalvo.svg share/icons/hicolor/48x48/apps/kalvo.png; do
    [[ -s $file ]] || fail "not installed: $file"
done
# Width and height from the PNG header.
[[ $(od -An -tu1 -j16 -N8 share/icons/hicolor/48x48/apps/kalvo.png | tr -s ' ') == " 0 0 0 48 0 0 0 48" ]] \
    || fail "kalvo.png is not 48x48"

# With the X11 platform and no DISPLAY, opening a window would abort.
kalvo=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb bin/kalvo)
[[ $("${kalvo[@]}" --version) == "Kalvo $version" ]] || fail "--version"
"${kalvo[@]}" --help | grep -q '^Usage: .*kalvo \[options\] \[FILE...\]$' || fail "--help"
status=0
"${kalvo[@]}" --no-such-option 2>"$stage/err" || status=$?
[[ $status == 2 && $(head -n2 "$stage/err") == "kalvo: Unknown option 'no-such-option'."$'\n'Usage:* ]] \
    || fail "wrong option: status $status, $(cat "$stage/err")"

for tool in desktop-file-validate appstreamcli; do
    command -v $tool >/dev/null || { echo "SKIP: $tool missing (desktop-file-utils, appstream)"; exit 77; }
done
desktop-file-validate "share/applications/$app_id.desktop" || fail "desktop entry does not validate"
appstreamcli validate --no-net "share/metainfo/$app_id.metainfo.xml" || fail "AppStream file does not validate"
