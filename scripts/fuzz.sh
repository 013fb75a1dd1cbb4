#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds (default 60).
#   bash scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

if ! command -v clang++ >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null |
  grep -q 'install ok installed'; then
  sudo=()
  ((EUID != 0)) && sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y clang libclang-rt-14-dev
fi

cmake -S fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j "$(nproc)"
mkdir -p build/fuzz/corpus
for target in fuzz_language fuzz_rules fuzz_recovery fuzz_settings; do
  mkdir -p "build/fuzz/corpus/$target"
  echo "== $target for $seconds s"
  log="build/fuzz/$target.log"
  status=0
  "build/fuzz/$target" "build/fuzz/corpus/$target" -max_total_time="$seconds" -rss_limit_mb=1024 \
    -timeout=10 -max_len=65536 -print_final_stats=1 >"$log" 2>&1 || status=$?
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb|ERROR|SUMMARY' "$log" || true
  ((status == 0)) || { echo "fuzz: $target failed, see $log" >&2; exit 1; }
done
