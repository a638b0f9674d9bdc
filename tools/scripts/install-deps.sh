#!/bin/sh
# Installs everything the build, the program, the tests and the packages need on Debian.
# Idempotent: does nothing when all is there. Runs apt-get as root or through sudo.
set -eu

need=""
command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 || need="$need g++-mingw-w64-i686-posix"
command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 || need="$need g++-mingw-w64-x86-64-posix"
[ -x /usr/lib/wine/wine64 ] || need="$need wine wine64"
dpkg -s wine32:i386 >/dev/null 2>&1 || need="$need wine32:i386"
command -v Xvfb >/dev/null 2>&1 || need="$need xvfb"
command -v xdotool >/dev/null 2>&1 || need="$need xdotool"
command -v xrandr >/dev/null 2>&1 || need="$need x11-xserver-utils"
command -v import >/dev/null 2>&1 || need="$need imagemagick"
command -v cmake >/dev/null 2>&1 || need="$need cmake"
command -v g++ >/dev/null 2>&1 || need="$need g++"
command -v python3 >/dev/null 2>&1 || need="$need python3"
command -v clang-format >/dev/null 2>&1 || need="$need clang-format"
command -v clang-tidy >/dev/null 2>&1 || need="$need clang-tidy"
[ -f /usr/src/googletest/CMakeLists.txt ] || need="$need googletest"
[ -f /usr/include/benchmark/benchmark.h ] || need="$need libbenchmark-dev"
command -v makensis >/dev/null 2>&1 || need="$need nsis"
command -v zip >/dev/null 2>&1 || need="$need zip"

if [ -z "$need" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "install-deps: installing$need"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $need
