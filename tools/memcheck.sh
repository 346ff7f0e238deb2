#!/usr/bin/env bash
# Checks every program against its end-to-end cases under valgrind's memcheck
# (tools/check-program --memcheck) and fails on any memory error, on any block not freed at the
# end, or on any case whose output changes under valgrind.
# Usage: tools/memcheck.sh [BUILD_DIR]   (default: build/default, from the default workflow;
#        MEMCHECK_JOBS=n runs n cases at once, default one per core)
#
# Skipped: cases with an address-space limit (valgrind needs far more address space itself) and
# cases with an absolute or empty argv0, which valgrind cannot hand to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/default}" && pwd)
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 1; }

verdict=0
for program in store/go_shopping bst/bst_driver wordcount/word_count_driver \
    wordcount/word_count_solution roster/roster_test; do
    [ -x "$build/$program" ] ||
        { echo "no $program in $build: run cmake --workflow --preset default first" >&2; exit 1; }
    python3 "$root/tools/check-program" --memcheck -j "${MEMCHECK_JOBS:-$(nproc)}" \
        "${program#*/}" "$build/$program" || verdict=1
done
exit $verdict
