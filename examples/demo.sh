#!/usr/bin/env bash
# Installs what the build and the tests need, builds the programs and runs each one on the
# sample input in this folder.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
examples=$repo/examples
build=$repo/build/default

bash "$repo/tools/install-prerequisites.sh" test
cd "$repo"
cmake --preset default >/dev/null
cmake --build --preset default --target bst_driver go_shopping word_count_driver \
    word_count_solution roster_test

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo
echo "=== bst_driver (word list examples/scramble-dict.txt, queries examples/bst-queries.txt)"
cp "$examples/scramble-dict.txt" "$scratch/"
(cd "$scratch" && "$build/bst/bst_driver" <"$examples/bst-queries.txt")

echo
echo "=== go_shopping (products examples/products.txt, transactions examples/transactions.txt)"
# go_shopping reads each file name as one word, so the names are given relative to examples/:
# the path of the checkout may hold blanks.
(cd "$examples" && printf 'products.txt\ntransactions.txt\n' | "$build/store/go_shopping")

echo
echo "=== word_count_driver, count 1, and word_count_solution, count 3 (text examples/sample-text.txt)"
"$build/wordcount/word_count_driver" "$examples/sample-text.txt" 1
echo "---"
"$build/wordcount/word_count_solution" "$examples/sample-text.txt" 3

echo
echo "=== roster_test (names examples/names.txt)"
"$build/roster/roster_test" "$examples/names.txt"
