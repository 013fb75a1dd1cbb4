#!/usr/bin/env bash
# Installs the Debian 12 packages this project builds and tests with, only those that are missing.
set -euo pipefail

packages=(
  cmake g++ make                                   # native build
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libssl-dev                                       # the simulation's password derivation
  g++-mingw-w64-x86-64-posix                       # Windows build (brings gcc and windres)
  clang libclang-rt-14-dev                         # fuzzers (libFuzzer and the sanitizers)
  fp-utils-3.2.2                                   # chmcmd, the help files
  nsis                                             # makensis, the installer
  wine wine64 xvfb xdotool x11-utils imagemagick   # running and testing the Windows build
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if ((${#missing[@]} == 0)); then
  echo "install-deps: all packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=()
if ((EUID != 0)); then
  command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y "${missing[@]}"
