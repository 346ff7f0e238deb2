#!/usr/bin/env bash
# Installs, on Debian and Ubuntu, the packages that are missing for a purpose:
#   build   the five programs: cmake, ninja-build, g++
#   test    build, plus what the test suite needs: GoogleTest, Python 3, groff
#   ci      test, plus what CI adds: clang with its sanitizer and fuzzer runtime, LLVM's standard
#           library with GoogleTest's sources to build against it, clang-format, valgrind,
#           MinGW-w64 and Wine for the Windows build, Emscripten, Selenium, Chromium and
#           WebKitGTK (with Xvfb) for the web page, Node.js and npm for the page's logic tests,
#           linter and formatter (the default); then that linter and formatter themselves, at
#           the versions package-lock.json pins, into this checkout's node_modules
# Elsewhere it says what to install on that system and exits with status 1.
# Usage: tools/install-prerequisites.sh [build|test|ci]
set -euo pipefail

purpose=${1:-ci}
case $purpose in
build | test | ci) ;;
*)
    echo "usage: $0 [build|test|ci]" >&2
    exit 2
    ;;
esac

# without_apt: what to install where apt-get is missing, for the purpose; always fails.
without_apt() {
    local system
    system=$(uname -s 2>/dev/null || echo unknown)
    {
        echo "$0: apt-get is not here; install by hand what the $purpose needs:"
        case $system in
        Darwin)
            echo "  xcode-select --install    # the compiler (Apple clang)"
            echo "  brew install cmake ninja python googletest groff"
            ;;
        MINGW* | UCRT* | MSYS* | CLANG*)
            echo "  pacman -S --needed mingw-w64-ucrt-x86_64-{gcc,cmake,ninja,python,gtest} groff"
            echo "  (in an MSYS2 UCRT64 shell)"
            ;;
        Linux)
            if command -v dnf >/dev/null 2>&1; then
                echo "  sudo dnf install cmake ninja-build gcc-c++ python3 gtest-devel groff"
            else
                echo "  CMake 3.16 or later and a C++17 compiler; for the tests also Python 3,"
                echo "  GoogleTest and groff"
            fi
            ;;
        *)
            echo "  CMake 3.16 or later and a C++17 compiler; for the tests also Python 3,"
            echo "  GoogleTest and groff"
            ;;
        esac
        if [ "$purpose" = build ]; then
            echo "Only CMake and the compiler are needed to build the programs."
        elif [ "$purpose" = ci ]; then
            echo "CI itself runs on Debian only (see README.md)."
        fi
    } >&2
    exit 1
}

command -v apt-get >/dev/null 2>&1 && command -v dpkg-query >/dev/null 2>&1 || without_apt

packages=(cmake ninja-build g++)
case $purpose in
test) packages+=(libgtest-dev python3 groff-base) ;;
ci)
    packages+=(libgtest-dev python3 groff-base clang libclang-rt-dev libc++-dev libc++abi-dev
        googletest clang-format valgrind g++-mingw-w64-x86-64-posix wine wine64 emscripten
        node-acorn nodejs python3-selenium chromium chromium-driver webkit2gtk-driver xvfb)
    ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)

# install_page_tools: for ci, the page's linter and formatter into node_modules, never globally,
# unless they are there already for this package-lock.json; offline after that.
install_page_tools() {
    if [ "$purpose" = ci ] && ! [ "$root/package-lock.json" -ot "$root/node_modules/.package-lock.json" ]; then
        echo "installing the page's linter and formatter into $root/node_modules"
        (cd "$root" && npm ci --no-audit --no-fund)
    fi
}

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
# NodeSource's nodejs holds npm, Debian's leaves it to a package of its own, which the other
# conflicts with: npm is installed only where no npm is found.
if [ "$purpose" = ci ] && ! command -v npm >/dev/null 2>&1; then
    missing+=(npm)
fi
if [ ${#missing[@]} -eq 0 ]; then
    install_page_tools
    exit 0
fi

as_root=
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "$0: not root and no sudo: install ${missing[*]} by hand" >&2
        exit 1
    fi
    as_root=sudo
fi
echo "installing with apt-get${as_root:+ through sudo}: ${missing[*]}"
$as_root apt-get update -qq
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
install_page_tools
