#!/usr/bin/env bash
# Runs one fuzz target of the sanitizer build for SECONDS on a copy of its seed corpus, so that
# the inputs it finds stay out of the repository. A finding stops it with the input saved in the
# copy's folder and a non-zero status.
#
#   bench/fuzz.sh fuzz_result_lines 600
#
# Environment: TOLVANE_SANITIZE_BUILD_DIR (default build-sanitize), FUZZ_WORK (default a new
# folder under /tmp).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
target=${1:?usage: bench/fuzz.sh TARGET SECONDS}
seconds=${2:-60}
build=${TOLVANE_SANITIZE_BUILD_DIR:-$root/build-sanitize}
program="$build/tests/fuzz/$target"
[ -x "$program" ] || { echo "no $program: run tools/dev.sh sanitize first (with clang)" >&2; exit 2; }
work=${FUZZ_WORK:-$(mktemp -d /tmp/tolvane-fuzz.XXXXXX)}
mkdir -p "$work/corpus" "$work/findings"
cp "$root/tests/fuzz/corpus/$target"/* "$work/corpus/"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/tests/sanitize/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen
cd "$work/findings"
"$program" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 "$work/corpus" 2>&1 |
  tee "$work/log.txt" | grep -a -E "^#[0-9]+ +(DONE|INITED)|ERROR|SUMMARY|stat::number_of_executed_units|crash-|timeout-|oom-" || true
status=${PIPESTATUS[0]}
echo "$target: $(grep -a -o 'stat::number_of_executed_units: [0-9]*' "$work/log.txt" | awk '{print $2}') inputs in ${seconds} s, exit $status (log $work/log.txt)"
exit "$status"
