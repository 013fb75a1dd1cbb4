#!/usr/bin/env bash
# Builds what is missing and runs the benchmarks: the simulation's (build/native/ombrix_bench) with
# --native, and always the real program under Wine (bench/wine/switch_bench.cpp): idle CPU, CPU per
# switch against a bare ShowWindow loop, switch latency against the same loop, and resident memory,
# ending with a summary. Optional arguments: the number of rounds (default 9) and the seconds of
# each idle measurement (default 60).
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

native=
if [[ ${1:-} == --native ]]; then
  native=1
  shift
fi
rounds=${1:-9}
idle_seconds=${2:-60}

bash scripts/install-deps.sh || exit 1
if [[ -n $native ]]; then
  bash scripts/build.sh native win64 || exit 1
  echo "== simulation benchmarks (build/native/ombrix_bench)"
  build/native/ombrix_bench || exit 1
else
  bash scripts/build.sh win64 || exit 1
fi

echo "== the real switch under Wine (build/win64/bench/wine/switch_bench.exe)"
# The end-to-end tests' prefix, whose Ombrix settings they reset anyway.
export OMBRIX_WINEPREFIX=$PWD/build/win64/wineprefix
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh || exit 1
PROBE_EXE=build/win64/tests/e2e/probe.exe
# shellcheck source=tests/e2e/lib.sh
source tests/e2e/lib.sh --helpers
probe kill Ombrix.exe switch_bench.exe >/dev/null
clear_settings
# Settings as a user's second start finds them, so no welcome balloon takes part.
# shellcheck disable=SC2086 # OMBRIX_BENCH_SETTINGS holds NAME=VALUE words
probe reg-set Settings FirstUse=0 ${OMBRIX_BENCH_SETTINGS:-} >/dev/null
# The rule whose latency is measured: windows titled "bench mover..." go to desktop 3.
rule mover title starts-with "bench mover" move 3
store_rules
rm -f build/win64/Ombrix.restore build/win64/Ombrix.desktops
exe=$(readlink -f build/win64/Ombrix.exe)
"$WINE" build/win64/bench/wine/switch_bench.exe "Z:${exe//\//\\}" "$rounds" "$idle_seconds"
status=$?
probe kill Ombrix.exe switch_bench.exe >/dev/null
exit "$status"
