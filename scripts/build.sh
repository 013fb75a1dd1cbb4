#!/usr/bin/env bash
# Configures and builds build/native (GCC: logic, unit tests, benchmarks) and build/win64 (MinGW-w64:
# Ombrix.exe, its hook DLL, the end-to-end probe), both as Release builds: the Windows tree is what
# ships, and the tests run against the same optimised code; and build/fuzz (clang: the libFuzzer
# targets). Arguments pick trees: native, win64, fuzz (default: all three).
set -euo pipefail
cd "$(dirname "$0")/.."

trees=("$@")
((${#trees[@]})) || trees=(native win64 fuzz)
jobs=$(nproc)

for tree in "${trees[@]}"; do
  case $tree in
    native)
      cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release
      cmake --build build/native -j "$jobs"
      ;;
    win64)
      cmake -S . -B build/win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
      cmake --build build/win64 -j "$jobs"
      ;;
    fuzz)
      cmake -S fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++
      cmake --build build/fuzz -j "$jobs"
      ;;
    *)
      echo "usage: $0 [native] [win64] [fuzz]" >&2
      exit 2
      ;;
  esac
done
