#!/usr/bin/env bash
# Builds the long-run window test (the default preset, RelWithDebInfo) and runs
# it offscreen under Valgrind's memcheck for VORLITH_LONG_RUN_PRESSES presses
# (default 2000). Known reports from inside Qt, fontconfig and the other
# system libraries are suppressed by tests/valgrind.supp.
#
# Fails when memcheck reports an error or a definite leak, or when the test
# itself fails. Prints memcheck's leak and error summaries, and its reports
# when it found any; the whole log is kept in build/default/long-run.memcheck.log.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

presses="${VORLITH_LONG_RUN_PRESSES:-2000}"
if ! [[ "$presses" =~ ^[0-9]+$ ]] || (( presses < 1 )); then
    echo "valgrind-long-run.sh: VORLITH_LONG_RUN_PRESSES must be a positive whole number, not '$presses'" >&2
    exit 2
fi
command -v valgrind >/dev/null || {
    echo "valgrind-long-run.sh: valgrind is not installed" >&2
    exit 2
}

build=build/default
cmake --preset default >/dev/null
cmake --build "$build" --target vorlith_long_run_test -j"$(nproc)"

log="$build/long-run.memcheck.log"
status=0
# The regular-expression JIT writes code that memcheck cannot follow well;
# the interpreter matches the same texts. Qt Test ends a test function after
# 5 minutes; under memcheck on a loaded machine the presses may take longer
# (90 s alone on 2 cores, over 300 s beside other builds), so the limit is an
# hour. --track-origins makes a report of an uninitialised value say where
# the value came from, at about 1.5 times the processor time.
QT_QPA_PLATFORM=offscreen QT_ENABLE_REGEXP_JIT=0 VORLITH_LONG_RUN_PRESSES="$presses" \
    QTEST_FUNCTION_TIMEOUT=3600000 \
    valgrind --tool=memcheck \
    --leak-check=full --errors-for-leak-kinds=definite --error-exitcode=1 --track-origins=yes \
    --suppressions=tests/valgrind.supp --num-callers=40 --log-file="$log" \
    "$build/tests/ui/vorlith_long_run_test" || status=$?

echo
echo "memcheck ($presses presses, log in $log):"
grep -E 'definitely lost:|indirectly lost:|possibly lost:|still reachable:|suppressed:|ERROR SUMMARY:' "$log" |
    sed -E 's/^==[0-9]+== +/  /'

errors=$(sed -nE 's/.*ERROR SUMMARY: ([0-9,]+) errors.*/\1/p' "$log" | tail -n 1 | tr -d ,)
definite=$(sed -nE 's/.*definitely lost: ([0-9,]+) bytes.*/\1/p' "$log" | tail -n 1 | tr -d ,)
if [[ -z "$errors" ]]; then
    echo "valgrind-long-run.sh: memcheck wrote no summary; see $log" >&2
    exit 1
fi
if (( errors > 0 || ${definite:-0} > 0 )); then
    # The reports themselves, so that a run elsewhere (CI) says what it found.
    echo "memcheck's reports (the log without its heading, at most 400 lines):"
    awk 'seen && n < 400 { print; n++ } /Command: / { seen = 1 }' "$log"
    echo "valgrind-long-run.sh: memcheck reports $errors errors, ${definite:-0} bytes definitely lost; see $log" >&2
    exit 1
fi
if (( status != 0 )); then
    echo "valgrind-long-run.sh: the long-run test failed (status $status); see $log" >&2
    exit "$status"
fi
echo "valgrind-long-run.sh: no memcheck errors, nothing definitely lost"
