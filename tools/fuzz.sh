#!/usr/bin/env bash
# Bounded fuzz run: builds the libFuzzer targets of tests/fuzz/ (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and fuzzes each for the given number of seconds, starting from its
# committed corpus and kept reproducers. New inputs go to a scratch copy under build/fuzz/, never
# into the repository. Exits non-zero when any target crashes, leaks, hangs or disagrees with its
# model, naming the reproducer to keep.
#
# Usage: tools/fuzz.sh [seconds-per-target]   (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 [seconds-per-target]" >&2
    exit 2
fi

# Every folder of the seed corpus is one target, built as fuzz_<folder>.
targets=()
for dir in tests/fuzz/corpus/*/; do
    targets+=("$(basename "$dir")")
done

echo "== building the fuzz targets"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}"

scratch=build/fuzz/fuzz-run
rm -rf "$scratch"

# fuzz TARGET: fuzzes one target in its own scratch folder, leaving libFuzzer's log there.
fuzz() {
    local target=$1 work="$scratch/$1"
    mkdir -p "$work/corpus" "$work/artifacts"
    cp tests/fuzz/corpus/"$target"/* "$work/corpus/"
    local options=(-max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048
                   -artifact_prefix="$work/artifacts/")
    if [ -f "tests/fuzz/$target.dict" ]; then
        options+=(-dict="tests/fuzz/$target.dict")
    fi
    # New inputs are written to the first folder only: the scratch copy.
    build/fuzz/tests/fuzz/fuzz_"$target" "${options[@]}" "$work/corpus" \
        "tests/fuzz/regressions/$target" >"$work/log" 2>&1
}

# report TARGET: says how the target's fuzzing went; fails when it found something.
report() {
    local target=$1 work="$scratch/$1"
    if [ -f "$work/passed" ]; then
        echo "== $target: $(grep -E '^(Done|#[0-9]+ +DONE)' "$work/log" | tail -n 1)"
        return 0
    fi
    echo "!! $target failed; its log is $work/log:"
    # The model's report runs up to libFuzzer's own; a sanitizer names the fault in its first lines.
    awk '/model mismatch/ {show = 1} /ERROR: libFuzzer/ {show = 0} show' "$work/log" | head -n 40
    grep -E -m 1 -A 2 'ERROR: (Address|Leak)Sanitizer|runtime error' "$work/log" || true
    grep -E '^SUMMARY' "$work/log" || tail -n 20 "$work/log"
    for reproducer in "$work"/artifacts/*; do
        [ -e "$reproducer" ] || continue
        echo "!! reproducer: $reproducer"
    done
    echo "!! keep it as a regression case: copy it into tests/fuzz/regressions/$target/ under a"
    echo "!! name that says what it shows; the replay test fuzz_$target.replay then runs it."
    return 1
}

# Each target fuzzes on one core; the targets run side by side, one per core.
echo "== fuzzing ${#targets[@]} targets for ${seconds}s each, $(nproc) at a time"
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
        wait -n || true
    done
    (fuzz "$target" && touch "$scratch/$target/passed") &
done
wait
failed=()
for target in "${targets[@]}"; do
    report "$target" || failed+=("$target")
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing failed for: ${failed[*]}" >&2
    exit 1
fi
echo "fuzzing: no crash and no model mismatch in ${#targets[@]} targets"
