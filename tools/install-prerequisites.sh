#!/usr/bin/env bash
# Installs the Debian packages that are missing for a purpose:
#   build   the five programs: cmake, ninja-build, g++
#   test    build, plus what the test suite needs: GoogleTest, Python 3, groff
#   ci      test, plus what CI adds: clang with its sanitizer and fuzzer runtime, LLVM's standard
#           library with GoogleTest's sources to build against it, clang-format, valgrind (the
#           default)
# Usage: tools/install-prerequisites.sh [build|test|ci]
set -euo pipefail

purpose=${1:-ci}
packages=(cmake ninja-build g++)
case $purpose in
build) ;;
test) packages+=(libgtest-dev python3 groff-base) ;;
ci)
    packages+=(libgtest-dev python3 groff-base clang libclang-rt-dev libc++-dev libc++abi-dev
        googletest clang-format valgrind)
    ;;
*)
    echo "usage: $0 [build|test|ci]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "$0: not root and no sudo: install ${missing[*]} by hand" >&2
        exit 1
    fi
    as_root=(sudo)
fi
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
