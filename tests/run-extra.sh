#!/usr/bin/env bash
# Checks that take longer than the ordinary test run; CI calls this after it.
# One clang build in build-asan serves both halves:
#   1. the whole test suite (reliability suite and install check included)
#      built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   2. every libFuzzer target (the WSJT-X dispatch target drives a whole
#      Parkbook) run for a bounded time over a scratch copy of its corpus in
#      fuzz/corpus/<target> (nothing new is written into the repository).
# Exits non-zero when a build, a test or a fuzzer fails.
#   PARKBOOK_FUZZ_SECONDS  seconds per fuzz target (default 20)
#   PARKBOOK_EXTRA_ONLY    "asan" or "fuzz" to run one half only
set -euo pipefail

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ASAN_BUILD="${PARKBOOK_ASAN_BUILD:-$REPO/build-asan}"
FUZZ_SECONDS="${PARKBOOK_FUZZ_SECONDS:-20}"
ONLY="${PARKBOOK_EXTRA_ONLY:-}"
started=$(date +%s)

build() {
    local t0
    t0=$(date +%s)
    # Warnings are errors in the gcc build; clang's own extra warnings are
    # only shown here.
    cmake -S "$REPO" -B "$ASAN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_COMPILER=clang++ -DPARKBOOK_SANITIZE=ON -DPARKBOOK_FUZZ=ON \
        -DPARKBOOK_BENCH=OFF
    cmake --build "$ASAN_BUILD" -j2
    echo "sanitizer and fuzz build: $(($(date +%s) - t0)) s"
}

sanitizer_suite() {
    local t0
    t0=$(date +%s)
    # A report of either sanitizer ends the test with a failure.
    export ASAN_OPTIONS="abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1:detect_leaks=${PARKBOOK_DETECT_LEAKS:-0}"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export QT_QPA_PLATFORM=offscreen
    # One test at a time: beside the 10 MB imports of the hostile-input test
    # the QRZ login of tst_qrzlookup has missed its 10 s wait under -j2.
    # The fuzz targets run in the second half, over scratch corpora.
    (cd "$ASAN_BUILD" && ctest -j1 --output-on-failure --timeout 900 -E '^fuzz_')
    echo "sanitizer test suite: $(($(date +%s) - t0)) s"
}

fuzzers() {
    local t0 scratch target status=0
    t0=$(date +%s)
    scratch="$(mktemp -d)"
    declare -A maxlen=([adif]=8192 [wsjtx]=4096 [qrz]=65536 [wsjtx_dispatch]=4096)
    declare -A seeds=([adif]=adif [wsjtx]=wsjtx [qrz]=qrz [wsjtx_dispatch]=wsjtx)
    export LSAN_OPTIONS="suppressions=$REPO/fuzz/lsan-gui.supp"
    export QT_QPA_PLATFORM=offscreen
    for target in adif wsjtx qrz wsjtx_dispatch; do
        mkdir -p "$scratch/$target/corpus" "$scratch/$target/crashes"
        cp -r "$REPO/fuzz/corpus/${seeds[$target]}/." "$scratch/$target/corpus/"
        echo "fuzz_$target: ${FUZZ_SECONDS} s over $(ls "$scratch/$target/corpus" | wc -l) seeds"
        if ! "$ASAN_BUILD/fuzz/fuzz_$target" -max_total_time="$FUZZ_SECONDS" -timeout=10 \
            -rss_limit_mb=2048 -max_len="${maxlen[$target]}" -print_final_stats=1 \
            -artifact_prefix="$scratch/$target/crashes/" "$scratch/$target/corpus" \
            >"$scratch/$target/log" 2>&1; then
            tail -n 60 "$scratch/$target/log"
            echo "fuzz_$target FAILED; the input that did it is kept in $scratch/$target/crashes"
            status=1
        else
            grep -E '^stat::number_of_executed_units|^Done' "$scratch/$target/log" || true
        fi
    done
    [ "$status" -eq 0 ] && rm -rf "$scratch"
    return "$status"
}

build
case "$ONLY" in
asan) sanitizer_suite ;;
fuzz) fuzzers ;;
*)
    sanitizer_suite
    fuzzers
    ;;
esac
echo "run-extra: all passed in $(($(date +%s) - started)) s"
