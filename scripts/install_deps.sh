#!/usr/bin/env bash
# Installs every Debian package the build and the tests need, once. Safe to run again: it only
# installs what is missing. Runs as root (or through sudo when available).
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  cmake ninja-build g++ clang-14 libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev libpng-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 libz-mingw-w64-dev
  wine wine32:i386 wine64
  xvfb xdotool x11-utils x11-xserver-utils imagemagick openssl
  fonts-wqy-microhei fonts-symbola
  python3 nsis osslsigncode
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install_deps: everything is installed"
  exit 0
fi

echo "install_deps: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
