#!/usr/bin/env bash
# Installs the Debian packages gyrel needs that this machine lacks.
# Usage: scripts/deps.sh run|test|windows   (run: to build and start; test: also the
# test tools; windows: only the cross compiler, Wine and the GoogleTest sources)
set -euo pipefail

run_packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libcli11-dev fonts-dejavu-core)
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev xvfb xauth openbox x11-utils)
windows_packages=(g++-mingw-w64-x86-64 wine64 googletest)

wanted=("${run_packages[@]}")
if [ "${1:-run}" = test ]; then wanted+=("${test_packages[@]}"); fi
if [ "${1:-run}" = windows ]; then wanted=("${windows_packages[@]}"); fi

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
