#!/usr/bin/env bash
# Runs the end-to-end cases of every program under valgrind's memcheck and fails on any memory
# error or leak, or on any case whose output changes under valgrind.
# Usage: tools/memcheck.sh [BUILD_DIR]   (default: build/default, from the default workflow;
#        MEMCHECK_JOBS=n runs n cases at once, default one per core)
#
# Skipped: cases with an address-space limit (valgrind needs far more address space itself) and
# cases with an absolute or empty argv0, which a wrapper cannot hand to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/default}" && pwd)
[ -f "$build/CTestTestfile.cmake" ] ||
    { echo "no tests in $build: run cmake --workflow --preset default first" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 1; }

logs=$build/memcheck-logs
rm -rf "$logs"
mkdir -p "$logs"

# After sync_with_stdio(false) libstdc++ gives the standard streams buffers that it never frees;
# they stay reachable from the library's own static stream objects and are no leak of ours.
cat >"$logs/libstdcxx.supp" <<'SUPPRESSION'
{
   libstdcxx-unsynced-standard-stream-buffers
   Memcheck:Leak
   match-leak-kinds: reachable
   fun:_Znam
   fun:*_M_allocate_internal_buffer*
   ...
   fun:_ZNSt8ios_base15sync_with_stdioEb
}
SUPPRESSION

# Inlined frames are left out of the stack traces: reading them is a fifth of the time of each of
# these short runs. A failing case rerun by hand without --read-inline-info=no shows them.
wrapper="valgrind --leak-check=full --show-leak-kinds=all --errors-for-leak-kinds=all"
wrapper+=" --read-inline-info=no"
wrapper+=" --error-exitcode=99 --suppressions=$logs/libstdcxx.supp"
wrapper+=" --log-file=$logs/%q{E2E_CASE}.%p.log"

# valgrind runs one program on one core; the cases run side by side, one per core. The runner
# skips the cases that a wrapper cannot run as they ask (see tests/e2e/run_case.py).
jobs_at_once=${MEMCHECK_JOBS:-$(nproc)}
verdict=0
E2E_WRAPPER=$wrapper ctest --test-dir "$build" -L e2e -j "$jobs_at_once" --output-on-failure \
    >"$logs/ctest.out" 2>&1 || verdict=1
grep -E '^(The following tests|[[:space:]]+[0-9]+ - )|tests passed' "$logs/ctest.out" || true

# Sums the figures of every valgrind log: program runs, errors and the bytes of each leak kind;
# the last line is the verdict.
summarise() {
    cat "$logs"/*.log 2>/dev/null | python3 -c '
import re, sys
text = sys.stdin.read()
def total(pattern):
    return sum(int(n.replace(",", "")) for n in re.findall(pattern, text))
runs = len(re.findall(r"ERROR SUMMARY:", text))
errors = total(r"ERROR SUMMARY: ([\d,]+) errors")
kinds = ["definitely lost", "indirectly lost", "possibly lost", "still reachable"]
lost = {kind: total(kind + r": ([\d,]+) bytes") for kind in kinds}
suppressed = total(r"suppressed: ([\d,]+) bytes")
allocations = total(r"total heap usage: ([\d,]+) allocs")
print(f"{runs} program runs, {errors} errors, "
      + ", ".join(f"{lost[kind]} bytes {kind}" for kind in kinds)
      + f"; {suppressed} bytes suppressed, {allocations} allocations")
print("clean" if runs and errors == 0 and not any(lost.values()) else "dirty")
'
}

summary=$(summarise)
echo "memcheck: ${summary%$'\n'*}"
[ "$verdict" -eq 0 ] || echo "memcheck: failing cases, as $logs/ctest.out shows"
[ "$verdict" -eq 0 ] && [ "${summary##*$'\n'}" = clean ]
