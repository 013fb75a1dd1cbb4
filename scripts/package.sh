#!/usr/bin/env bash
# Builds the Windows tree (Release) and writes the packages for Windows users to build/dist: the
# installer Ombrix-<version>-setup.exe and the portable Ombrix-<version>-portable.zip. The version
# is the project's, from CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh win64
cmake -S . -B build/win64 -DOMBRIX_DIST_DIR="$PWD/build/dist" >/dev/null
cmake --build build/win64 --target dist
ls -l build/dist
