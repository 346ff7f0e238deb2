#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what the root .clang-format makes of it, or when the
# page's code is not as Biome formats it or draws a lint warning (biome.jsonc says which files and
# rules). Biome is the version that package-lock.json pins, in this checkout's node_modules
# (tools/install-prerequisites.sh ci installs it).
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- '*.h' '*.cpp' | xargs -0 --no-run-if-empty clang-format --dry-run --Werror
echo "format check: all C++ files match .clang-format"
if [ ! -x node_modules/.bin/biome ]; then
    echo "$0: Biome is not in node_modules: run tools/install-prerequisites.sh ci" >&2
    exit 1
fi
node_modules/.bin/biome ci --error-on-warnings --colors=off
echo "format and lint check: the page's code matches biome.jsonc"
