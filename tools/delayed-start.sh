#!/usr/bin/env bash
# Runs the whole test suite with every program started late: a copy of the default build in
# build/delayed-start has each of the five programs replaced by a launcher that sleeps, then
# execs the real program with the same arguments (its name by invocation included), standard
# streams and environment. A suite that passes here decides nothing from how fast a program
# starts or answers.
# Usage: tools/delayed-start.sh [seconds] [ctest options...]   (default 2 seconds; the tests run
#        with -j 8, as most of them sleep rather than compute)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-2}
shift || true
build=build/delayed-start
cmake --preset default -B "$build" >/dev/null
cmake --build "$build" -j 2

launcher=$build/delayed-launcher
cat >"$launcher.cpp" <<'LAUNCHER'
#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>
// The real program beside this one, named as this one with ".real" appended.
int main(int, char* argv[]) {
    std::this_thread::sleep_for(std::chrono::milliseconds(DELAY_MS));
    execv(REAL_PROGRAM, argv);
    std::perror("delayed-launcher: execv");
    return 127;
}
LAUNCHER
for program in store/go_shopping bst/bst_driver wordcount/word_count_driver \
    wordcount/word_count_solution roster/roster_test; do
    binary=$PWD/$build/$program
    # A rebuild puts the real program back; move it aside again only then.
    if ! grep -q delayed-launcher "$binary" 2>/dev/null; then
        mv "$binary" "$binary.real"
    fi
    c++ -std=c++17 -O1 -DDELAY_MS="$((seconds * 1000))" -DREAL_PROGRAM="\"$binary.real\"" \
        "$launcher.cpp" -o "$binary"
done
echo "== every program starts ${seconds}s late"
ctest --test-dir "$build" -j 8 --output-on-failure --no-tests=error "$@"
