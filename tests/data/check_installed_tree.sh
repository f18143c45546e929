#!/usr/bin/env bash
# Installs the build tree into a temporary DESTDIR under another prefix and
# checks the programs, their command lines without a display, the menu entry, the
# icons, the AppStream file and the Debian documents; then packages the build
# tree as kalvo.sh package does and has lintian check the package. Exits 77
# (skipped) only when the validators or the packaging tools are missing.
#   Usage: check_installed_tree.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 app_id=$2 version=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$stage cmake --install "$build" --prefix /opt/kalvo-test >/dev/null
cd "$stage/opt/kalvo-test"
for file in bin/kalvo bin/kalvo-cli "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
            share/icons/hicolor/scalable/apps/kalvo.svg share/icons/hicolor/48x48/apps/kalvo.png \
            share/doc/kalvo/copyright share/doc/kalvo/changelog.gz share/man/man1/kalvo.1.gz \
            share/man/man1/kalvo-cli.1.gz; do
    [[ -s $file ]] || fail "not installed: $file"
done
# Width and height from the PNG header.
[[ $(od -An -tu1 -j16 -N8 share/icons/hicolor/48x48/apps/kalvo.png | tr -s ' ') == " 0 0 0 48 0 0 0 48" ]] \
    || fail "kalvo.png is not 48x48"

# With the X11 platform and no DISPLAY, opening a window would abort.
kalvo=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb bin/kalvo)
[[ $("${kalvo[@]}" --version) == "Kalvo $version" ]] || fail "--version"
"${kalvo[@]}" --help | grep -qx '使い方: kalvo \[オプション\] \[ファイル\.\.\.\]' || fail "--help"
status=0
"${kalvo[@]}" --no-such-option 2>"$stage/err" || status=$?
[[ $status == 2 && $(head -n2 "$stage/err") == "kalvo: 不明なオプションです: no-such-option"$'\n'使い方:* ]] \
    || fail "wrong option: status $status, $(cat "$stage/err")"
# The program for scripts needs no display at all.
[[ $(env -u DISPLAY -u WAYLAND_DISPLAY bin/kalvo-cli --version) == "kalvo-cli (Kalvo) $version" ]] \
    || fail "kalvo-cli --version"
# --help wins over a wrong option.
[[ $(bin/kalvo-cli show --no-such-option --help | head -n1) == '使い方: kalvo-cli コマンド [オプション] ファイル...' ]] \
    || fail "kalvo-cli --help"
# Qt's own Japanese texts, which the program loads at start and the package
# depends on.
translations=$(qtpaths6 --query QT_INSTALL_TRANSLATIONS)
[[ -s $translations/qtbase_ja.qm ]] || fail "no $translations/qtbase_ja.qm (qt6-translations-l10n)"

for tool in desktop-file-validate appstreamcli; do
    command -v $tool >/dev/null || { echo "SKIP: $tool missing (desktop-file-utils, appstream)"; exit 77; }
done
desktop-file-validate "share/applications/$app_id.desktop" || fail "desktop entry does not validate"
appstreamcli validate --no-net "share/metainfo/$app_id.metainfo.xml" || fail "AppStream file does not validate"

# The package for /usr (lintian refuses /usr/local), made by CPack with the
# project's settings from a tree installed and stripped beside the first:
# CPack's own install step would first bring the whole build up to date.
for tool in lintian dpkg-shlibdeps file; do
    command -v $tool >/dev/null || { echo "SKIP: $tool missing (lintian, dpkg-dev, file)"; exit 77; }
done
DESTDIR=$stage/package-root cmake --install "$build" --prefix /usr --strip >/dev/null
cpack --config "$build/CPackConfig.cmake" -B "$stage/package" -D CPACK_INSTALL_CMAKE_PROJECTS= \
      -D "CPACK_INSTALLED_DIRECTORIES=$stage/package-root;." >"$stage/cpack.log" 2>&1 \
    || fail "cpack: $(cat "$stage/cpack.log")"
deb=$(echo "$stage"/package/kalvo_"$version"_*.deb)
dpkg-deb -f "$deb" Depends | grep -q 'qt6-translations-l10n' || fail "package does not depend on qt6-translations-l10n"
# lintian leaves a cache file in the temporary folder.
TMPDIR=$stage lintian --fail-on error,warning "$deb" || fail "lintian"
