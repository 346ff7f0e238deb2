#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what the root .clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- '*.h' '*.cpp' | xargs -0 --no-run-if-empty clang-format --dry-run --Werror
echo "format check: all C++ files match .clang-format"
