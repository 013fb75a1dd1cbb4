#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds (default 60),
# keeping what they find in build/fuzz/corpus. The test suite runs each for 30 s from scratch.
#   bash scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

bash scripts/install-deps.sh
bash scripts/build.sh fuzz >/dev/null
mkdir -p build/fuzz/corpus
for source in fuzz/fuzz_*.cpp; do
  target=$(basename "$source" .cpp)
  mkdir -p "build/fuzz/corpus/$target"
  echo "== $target for $seconds s"
  log="build/fuzz/$target.log"
  status=0
  "build/fuzz/$target" "build/fuzz/corpus/$target" -max_total_time="$seconds" -rss_limit_mb=1024 \
    -timeout=10 -max_len=65536 -print_final_stats=1 >"$log" 2>&1 || status=$?
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb|ERROR|SUMMARY' "$log" || true
  ((status == 0)) || { echo "fuzz: $target failed, see $log" >&2; exit 1; }
done
