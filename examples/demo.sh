#!/usr/bin/env bash
# Builds the five programs with CMake and a C++ compiler alone (the build needs nothing else) and
# runs each one on the sample input in this folder. On Debian and Ubuntu it first installs what
# is missing for the build and for the tests that README.md's next command runs; elsewhere CMake
# and a compiler must be there already, and tools/install-prerequisites.sh says how to get them.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
examples=$repo/examples
build=$repo/build/demo

if command -v apt-get >/dev/null 2>&1 || ! command -v cmake >/dev/null 2>&1; then
    bash "$repo/tools/install-prerequisites.sh" test
fi
# A multi-configuration generator (Visual Studio, Xcode) puts each program in a folder of its
# configuration; installed, all five are in one place whatever the generator.
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --config Release --parallel
cmake --install "$build" --config Release --prefix "$build/installed" >/dev/null
bin=$build/installed/bin

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo
echo "=== bst_driver (word list examples/scramble-dict.txt, queries examples/bst-queries.txt)"
cp "$examples/scramble-dict.txt" "$scratch/"
(cd "$scratch" && "$bin/bst_driver" <"$examples/bst-queries.txt")

echo
echo "=== go_shopping (products examples/products.txt, transactions examples/transactions.txt)"
# go_shopping reads each file name as one word, so the names are given relative to examples/:
# the path of the checkout may hold blanks.
(cd "$examples" && printf 'products.txt\ntransactions.txt\n' | "$bin/go_shopping")

echo
echo "=== word_count_driver, count 1, and word_count_solution, count 3 (text examples/sample-text.txt)"
"$bin/word_count_driver" "$examples/sample-text.txt" 1
echo "---"
"$bin/word_count_solution" "$examples/sample-text.txt" 3

echo
echo "=== roster_test (names examples/names.txt)"
"$bin/roster_test" "$examples/names.txt"
