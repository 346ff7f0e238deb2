#!/usr/bin/env bash
# Times bst_driver, roster_test and go_shopping on large generated inputs against the tool a
# user would otherwise reach for, checks that comparable outputs are identical, and prints a
# table of median times, ratios and peak memory.
# Usage: bench/peers/run.sh   (RUNS=n for the runs per command, default 5;
#        BENCH_BUILD_DIR=dir to time an existing optimised build instead of building the preset)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$root/bench/out/peers
runs=${RUNS:-5}

if [ -n "${BENCH_BUILD_DIR:-}" ]; then
    build=$(cd "$BENCH_BUILD_DIR" && pwd)
else
    (cd "$root" && cmake --preset default >/dev/null &&
        cmake --build --preset default --target bst_driver roster_test go_shopping)
    build=$root/build/default
fi

mkdir -p "$out"
if [ ! -f "$out/transactions.txt" ] || [ "$here/generate.py" -nt "$out/transactions.txt" ]; then
    echo "generating inputs in $out"
    python3 "$here/generate.py" "$out"
fi

# measure NAME STDIN COMMAND...: runs in $out, leaves the output in $out/NAME.out, prints
# "SECONDS KIB".
measure() {
    local name=$1 stdin=$2
    shift 2
    python3 "$here/measure.py" "$runs" "$out" "$stdin" "$out/$name.out" -- "$@"
}

# same WHAT FILE FILE: says whether two outputs are byte for byte identical.
same() {
    if cmp -s "$2" "$3"; then echo "identical $1"; else echo "DIFFERENT $1"; fi
}

row() { printf '%-12s %-18s %9s %9s %7s %10s %10s  %s\n' "$@"; }
ratio() {
    python3 -c "import sys; print(f'{float(sys.argv[2]) / float(sys.argv[1]):.3g}')" "$1" "$2"
}

echo "== bst_driver: $(wc -l <"$out/scramble-dict.txt") words, 1,000,000 queries"
read -r bst_s bst_kib < <(measure bst "$out/queries.txt" "$build/bst/bst_driver")
read -r awk_s awk_kib < <(measure awk /dev/null env LC_ALL=C mawk '
    NR == FNR { for (i = 1; i <= NF; i++) known[$i]; next }
    { for (i = 1; i <= NF; i++) print (($i in known) ? "found:      " : "not found:  ") $i }' \
    scramble-dict.txt queries.txt)
listing_lines=$((3 * ($(sort -u "$out/scramble-dict.txt" | wc -l) + 1)))
tail -n +$((listing_lines + 1)) "$out/bst.out" >"$out/bst.answers"
bst_check=$(same "answer lines" "$out/bst.answers" "$out/awk.out")

echo "== roster_test: $(wc -l <"$out/names.txt") names"
names=$(wc -l <"$out/names.txt")
read -r roster_s roster_kib < <(measure roster /dev/null "$build/roster/roster_test" names.txt)
read -r sort_s sort_kib < <(measure sort /dev/null env LC_ALL=C sort names.txt)
sed -n "3,$((names + 2))p" "$out/roster.out" >"$out/roster.first"
tail -n "$names" "$out/roster.out" >"$out/roster.second"
roster_check="$(same "first list" "$out/roster.first" "$out/sort.out"), $(same "second list" \
    "$out/roster.second" "$out/sort.out")"

echo "== go_shopping: $(wc -l <"$out/transactions.txt") transactions"
printf 'products.txt\ntransactions.txt\n' >"$out/shop.stdin"
read -r shop_s shop_kib < <(measure shop "$out/shop.stdin" "$build/store/go_shopping")
transactions=$(wc -l <"$out/transactions.txt")
throughput=$(python3 -c "import sys; print(f'{int(sys.argv[1]) / float(sys.argv[2]):,.0f}')" \
    "$transactions" "$shop_s")

echo
echo "median of $runs runs; ratio = peer time / our time (above 1: ours is faster)"
row program peer "ours s" "peer s" ratio "ours KiB" "peer KiB" "output"
row bst_driver "mawk hash set" "$bst_s" "$awk_s" "$(ratio "$bst_s" "$awk_s")" "$bst_kib" \
    "$awk_kib" "$bst_check"
row roster_test "LC_ALL=C sort" "$roster_s" "$sort_s" "$(ratio "$roster_s" "$sort_s")" \
    "$roster_kib" "$sort_kib" "$roster_check"
row go_shopping "(none)" "$shop_s" - - "$shop_kib" - "$throughput transactions/s"
[[ "$bst_check $roster_check" != *DIFFERENT* ]]
