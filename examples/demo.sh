#!/usr/bin/env bash
# Builds the programs and runs each one on the sample input in this folder.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
examples=$repo/examples
build=$repo/build/default

cmake --preset default >/dev/null
cmake --build --preset default

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo
echo "=== bst_driver (word list examples/scramble-dict.txt, queries examples/bst-queries.txt)"
cp "$examples/scramble-dict.txt" "$scratch/"
(cd "$scratch" && "$build/bst/bst_driver" <"$examples/bst-queries.txt")
