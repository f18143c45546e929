#!/usr/bin/env bash
# Sets up a Debian 12 machine for Kalvo (as root), builds it, and then either
# starts it or runs its tests.
#
#   bash kalvo.sh run              install what is missing, build, start Kalvo
#   bash kalvo.sh test             install what is missing, build, run all tests
#   bash kalvo.sh test-sanitized   the same tests built with ASan and UBSan
set -euo pipefail
cd "$(dirname "$0")"

# The validators check the installed menu entry and AppStream file in a test.
packages=(cmake make g++ qt6-base-dev libgl-dev fonts-ipafont-gothic desktop-file-utils appstream)

install_missing_packages() {
    local missing=() package
    for package in "${packages[@]}"; do
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

install_missing_packages
case "${1:-run}" in
run)
    build build
    exec build/src/app/kalvo
    ;;
test)
    build build
    run_tests build
    ;;
test-sanitized)
    build build-sanitized -DKALVO_SANITIZE=ON
    UBSAN_OPTIONS=print_stacktrace=1 run_tests build-sanitized
    ;;
*)
    echo "usage: bash kalvo.sh [run|test|test-sanitized]" >&2
    exit 2
    ;;
esac
