#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (the second row also Qt's private
# headers, with which the GUI tests switch accessibility on as a screen reader does; the third row:
# Clang with its sanitizer and libFuzzer runtimes and the symbolizer their reports use; the last
# rows: the public tools the oracle tests compare with, and what the install and package tests
# build and check with), only those that are missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-base-private-dev libgl-dev xvfb xauth fonts-dejavu-core
          clang libclang-rt-14-dev llvm
          openssl rhash python3 python3-crcmod b3sum xxhash libxxhash-dev rclone
          desktop-file-utils libxml2-utils man-db dpkg-dev file appstream lintian)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
$sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
