#!/usr/bin/env bash
# Builds the libFuzzer targets (the `fuzz` preset) and runs each for
# FUZZ_SECONDS seconds (default 60) on a copy of its seed corpus.
# Exits non-zero if either target finds a crash; the reproducer is kept
# and its path printed.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds="${FUZZ_SECONDS:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || (( seconds < 1 )); then
    echo "fuzz.sh: FUZZ_SECONDS must be a whole number of seconds, not '$seconds'" >&2
    exit 2
fi

cmake --preset fuzz
cmake --build --preset fuzz -j2

work="$(mktemp -d "${TMPDIR:-/tmp}/vorlith-fuzz.XXXXXX")"
keep_work=0
cleanup() {
    if (( keep_work )); then
        echo "fuzz.sh: corpora and crash reproducers kept in $work" >&2
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

# run_target NAME [libFuzzer options...]
run_target() {
    local name="$1"
    shift
    local corpus="$work/$name/corpus" artifacts="$work/$name/artifacts"
    mkdir -p "$corpus" "$artifacts" || return 1
    cp -R "fuzz/corpus/$name/." "$corpus/" || return 1
    echo "== vorlith_${name}_fuzz for ${seconds}s"
    if ! "build/fuzz/fuzz/vorlith_${name}_fuzz" \
            -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix="$artifacts/" "$@" "$corpus"; then
        echo "fuzz.sh: vorlith_${name}_fuzz failed; reproducers:" >&2
        ls -1 "$artifacts" >&2 || true
        return 1
    fi
}

failed=0
run_target val -max_len=4096 || failed=1
run_target str -max_len=8 || failed=1
run_target state -max_len=256 -close_fd_mask=3 || failed=1
run_target given -max_len=40 || failed=1
run_target sheet -max_len=128 || failed=1
run_target charts -max_len=56 || failed=1

if (( failed )); then
    keep_work=1
    exit 1
fi
echo "fuzz.sh: no crashes"
