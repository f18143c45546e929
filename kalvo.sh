#!/usr/bin/env bash
# Sets up a Debian 12 machine for Kalvo (as root), builds it, and then either
# starts it or runs its tests.
#
#   bash kalvo.sh run              install what is missing, build, start Kalvo
#   bash kalvo.sh test             install what is missing, build, run all tests
#   bash kalvo.sh test-sanitized   the same tests built with ASan and UBSan
#   bash kalvo.sh package          build the Debian package build-package/kalvo_*.deb
set -euo pipefail
cd "$(dirname "$0")"

# Qt's own texts (buttons, file chooser) come in Japanese from the translations.
# TagLib reads ID3v2 tags (found through pkg-config), zlib inflates their
# compressed frames. The validators check the installed menu entry and
# AppStream file in a test. The disc tests, built with the rest, check disc
# ids against libdiscid's. The certificates let M reach MusicBrainz over HTTPS.
packages=(cmake make g++ pkg-config qt6-base-dev libgl-dev libtag1-dev zlib1g-dev fonts-ipafont-gothic
          qt6-translations-l10n desktop-file-utils appstream libdiscid-dev ca-certificates)
# CPack finds the package's library dependencies with dpkg-shlibdeps and file.
package_packages=(dpkg-dev file)
# The installed-tree test also packages the build and checks it with lintian;
# the disc tests encode MP3 files with lame.
test_packages=("${package_packages[@]}" lintian lame)

install_missing_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    if ((${#missing[@]})); then
        apt-get update
        DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
    fi
}

build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" "$@"
    cmake --build "$dir" -j"$(nproc)"
}

run_tests() {
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure -j"$(nproc)"
}

install_missing_packages "${packages[@]}"
case "${1:-run}" in
run)
    build build
    exec build/src/app/kalvo
    ;;
test)
    install_missing_packages "${test_packages[@]}"
    build build
    run_tests build
    ;;
test-sanitized)
    install_missing_packages "${test_packages[@]}"
    build build-sanitized -DKALVO_SANITIZE=ON
    UBSAN_OPTIONS=print_stacktrace=1 run_tests build-sanitized
    ;;
package)
    install_missing_packages "${package_packages[@]}"
    # Configured for the prefix the package installs into, so the programs
    # know their bin folder; only the programs are built, not the tests.
    cmake -S . -B build-package -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
    cmake --build build-package --target kalvo kalvo-cli -j"$(nproc)"
    (cd build-package && cpack -G DEB)
    ;;
*)
    echo "usage: bash kalvo.sh [run|test|test-sanitized|package]" >&2
    exit 2
    ;;
esac
