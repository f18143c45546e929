#!/usr/bin/env bash
# The folders each test runs in instead of the user's, and the check that a
# run leaves the machine as it found it.
#
#   test_environment.sh setup ENV_DIR LIST   makes ENV_DIR/NAME/{home,runtime,tmp}
#                                            afresh for each test NAME in LIST
#   test_environment.sh check ENV_DIR        fails when a test left anything in
#                                            its temporary or runtime folder, or,
#                                            with KALVO_CHECK_MACHINE=1, when
#                                            anything under $HOME or in /tmp
#                                            changed since the setup; then
#                                            removes ENV_DIR
set -euo pipefail
action=$1 env_dir=$2
stamp=$env_dir/started

# The NUL-separated names read, each on a line of its own, odd bytes escaped.
lines() { xargs -0r printf '  %q\n'; }

case $action in
setup)
    rm -rf "$env_dir"
    while read -r name; do
        mkdir -p "$env_dir/$name"/{home/.config,home/.local/share,home/.local/state,home/.cache,runtime,tmp}
        chmod 700 "$env_dir/$name/runtime"
    done <"$3"
    touch "$stamp"
    ;;
check)
    status=0
    for suite in "$env_dir"/*/; do
        left=$(find "$suite"tmp "$suite"runtime -mindepth 1 -print0 | lines)
        if [[ $left ]]; then
            echo "FAIL: $(basename "$suite") left in its folders:"$'\n'"$left" >&2
            status=1
        fi
    done
    if [[ ${KALVO_CHECK_MACHINE:-} == 1 ]]; then
        build=$(dirname "$env_dir")
        changed=$(find "$HOME" /tmp -xdev -path "$build" -prune -o -path /tmp -o -cnewer "$stamp" -print0 | lines)
        if [[ $changed ]]; then
            echo "FAIL: the tests changed the user's files:"$'\n'"$changed" >&2
            status=1
        fi
    else
        echo "\$HOME and /tmp not checked (KALVO_CHECK_MACHINE=1 checks them, on a machine nothing else writes to)"
    fi
    rm -rf "$env_dir"
    exit $status
    ;;
*)
    echo "usage: test_environment.sh setup ENV_DIR LIST | check ENV_DIR" >&2
    exit 2
    ;;
esac
