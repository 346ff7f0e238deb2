#!/usr/bin/env bash
# Runs the end-to-end cases of every program under valgrind's memcheck and fails on any memory
# error or leak, or on any case whose output changes under valgrind.
# Usage: tools/memcheck.sh [BUILD_DIR]   (default: build/default, from the default workflow;
#        MEMCHECK_JOBS=n runs n cases at once, default one per core)
#
# Skipped: cases with an address-space limit (valgrind needs far more address space itself) and
# cases with an absolute or empty argv0, which a wrapper cannot hand to the program (see
# tests/e2e/run_case.sh).
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
wrapper+=" --log-file=$logs/%q{MEMCHECK_CASE}.%p.log"

# One line per end-to-end case: test name, program, case folder (tab-separated).
list_cases() {
    ctest --test-dir "$build" --show-only=json-v1 -L e2e | python3 -c '
import json, sys
for test in json.load(sys.stdin)["tests"]:
    command = test.get("command", [])
    if len(command) == 4 and command[1].endswith("run_case.sh"):
        print(test["name"], command[2], command[3], sep="\t")
'
}

source "$root/tests/e2e/case_file.sh"

skips() {
    local program=$1 case_dir=$2 case_path
    case_file "$program" "$case_dir" address_space_kib && return 0
    case_file "$program" "$case_dir" argv0 || return 1
    local argv0
    argv0=$(<"$case_path")
    [[ -z $argv0 || $argv0 == /* ]]
}

# check_case NAME PROGRAM CASE_DIR: runs one case under valgrind, prints its verdict and leaves
# it in NAME.verdict among the logs.
check_case() {
    local name=$1 program=$2 case_dir=$3
    if MEMCHECK_CASE=$name E2E_WRAPPER=$wrapper bash "$root/tests/e2e/run_case.sh" \
        "$program" "$case_dir" >"$logs/$name.out" 2>&1; then
        echo ok >"$logs/$name.verdict"
        echo "ok   $name"
    else
        echo FAIL >"$logs/$name.verdict"
        printf 'FAIL %s (see %s)\n%s\n' "$name" "$logs/$name.*" \
            "$(sed 's/^/    /' "$logs/$name.out" | head -n 20)"
    fi
}

# valgrind runs one program on one core; the cases run side by side, one per core.
jobs_at_once=${MEMCHECK_JOBS:-$(nproc)}
ran=0 skipped=0
while IFS=$'\t' read -r name program case_dir; do
    if skips "$program" "$case_dir"; then
        echo "skip $name"
        skipped=$((skipped + 1))
        continue
    fi
    ran=$((ran + 1))
    while [ "$(jobs -rp | wc -l)" -ge "$jobs_at_once" ]; do
        wait -n
    done
    check_case "$name" "$program" "$case_dir" &
done < <(list_cases)
wait
failed=$(cat "$logs"/*.verdict 2>/dev/null | grep -c FAIL || true)

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
echo "memcheck: $ran cases run, $skipped skipped, $failed failed"
echo "memcheck: ${summary%$'\n'*}"
[ "$failed" -eq 0 ] && [ "${summary##*$'\n'}" = clean ]
