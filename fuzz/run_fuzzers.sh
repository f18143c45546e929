#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for MINUTES each, starting from
# the seed corpus kept in fuzz/corpus, and prints for each target the inputs
# executed and the crashes, timeouts and out-of-memory inputs found.
#
#   bash fuzz/run_fuzzers.sh MINUTES [TARGET...]
#
# It first configures and builds build-fuzz with clang (KALVO_FUZZ=ON). The
# targets run one after another, one core each; JOBS=2 runs two at a time.
# New inputs are kept in build-fuzz/corpus/TARGET for the next run, so the
# seed corpus in the repository is only read; findings (crash-*, timeout-*,
# oom-*) go to build-fuzz/findings/TARGET. libFuzzer runs in fork mode, so a
# finding does not end the run. An input that runs over 3 s (under the
# sanitizers), allocates over 128 MB at once, or takes the process over
# 2 GB counts as a timeout or out-of-memory.
set -euo pipefail
cd "$(dirname "$0")/.."

targets_all=(tag_block text id3v2 id3v2_edit file_name pasted_titles settings mpeg_audio musicbrainz_json)

if (($# < 1)) || ! [[ $1 =~ ^[0-9]+$ ]] || (($1 < 1)); then
    echo "usage: bash fuzz/run_fuzzers.sh MINUTES [TARGET...]  (targets: ${targets_all[*]})" >&2
    exit 2
fi
minutes=$1
shift
targets=("$@")
((${#targets[@]})) || targets=("${targets_all[@]}")
jobs=${JOBS:-1}

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DKALVO_FUZZ=ON -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build "$build" -j"$(nproc)" --target id3v2_hostile_seeds "${targets[@]/%/_fuzzer}" >/dev/null

# What each target needs beyond the common options.
declare -A extra=(
    [id3v2]="-max_len=1100000 -dict=fuzz/id3v2.dict"
    [id3v2_edit]="-max_len=1100000 -dict=fuzz/id3v2.dict"
    [file_name]="-max_len=1024"
    [pasted_titles]="-max_len=65536"
    [settings]="-max_len=65536"
    [mpeg_audio]="-max_len=262144"
    [musicbrainz_json]="-max_len=262144 -dict=fuzz/musicbrainz_json.dict"
)

run_target() {
    local target=$1 corpus=$build/corpus/$1 findings=$build/findings/$1
    mkdir -p "$corpus" "$findings"
    # The hostile files of the tests that fit an input start every run.
    [[ $target == id3v2* ]] && "$build/fuzz/id3v2_hostile_seeds" "$corpus"
    # shellcheck disable=SC2086 # the extra options are words
    "$build/fuzz/${target}_fuzzer" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -max_total_time=$((minutes * 60)) -timeout=3 -malloc_limit_mb=128 -rss_limit_mb=2048 \
        -artifact_prefix="$findings/" ${extra[$target]:-} "$corpus" "fuzz/corpus/$target" \
        >"$build/findings/$target.log" 2>&1 || true
}

# The last status line of a run: "#N: ... oom/timeout/crash: O/T/C ...".
summary() {
    local target=$1 line
    line=$(grep -E '^#[0-9]+: .*oom/timeout/crash: [0-9]+/[0-9]+/[0-9]+' "$build/findings/$target.log" | tail -n 1 || true)
    if [[ -z $line ]]; then
        printf '%-14s no status line; see %s\n' "$target" "$build/findings/$target.log"
        return 1
    fi
    local runs counts
    runs=$(sed -E 's/^#([0-9]+):.*/\1/' <<<"$line")
    counts=$(sed -E 's|.*oom/timeout/crash: ([0-9]+)/([0-9]+)/([0-9]+).*|\3 \2 \1|' <<<"$line")
    read -r crashes timeouts ooms <<<"$counts"
    printf '%-14s %12d %8d %9d %14d\n' "$target" "$runs" "$crashes" "$timeouts" "$ooms"
    total=$((total + runs))
    found=$((found + crashes + timeouts + ooms))
}

running=0
for target in "${targets[@]}"; do
    echo "fuzzing $target for $minutes min" >&2
    run_target "$target" &
    running=$((running + 1))
    if ((running >= jobs)); then
        wait -n
        running=$((running - 1))
    fi
done
wait

total=0
found=0
status=0
printf '%-14s %12s %8s %9s %14s\n' target executions crashes timeouts out-of-memory
for target in "${targets[@]}"; do
    summary "$target" || status=1
done
printf '%-14s %12d   findings: %d (in %s/findings)\n' all "$total" "$found" "$build"
((found == 0)) || status=1
exit "$status"
