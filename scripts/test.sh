#!/usr/bin/env bash
# Installs what is missing, builds the three trees and the packages (build/dist), runs the native
# tests (build/native), every fuzzer for 30 s (build/fuzz) and then the Windows tests under Wine
# (build/win64). Exits non-zero when anything fails; the last line sums them all.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

bash scripts/install-deps.sh || exit 1

passed=0
failed=0
status=0

# Runs ctest in the tree $1 and adds its counts to the totals.
run_ctest() {
  local log
  log=$(mktemp)
  ctest --test-dir "$1" --output-on-failure -j "$(nproc)" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local summary
  summary=$(grep -Eo '[0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  rm -f "$log"
  if [[ -n $summary ]]; then
    local bad total
    read -r bad _ _ _ _ total <<<"$summary"
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  # A tree with no tests, or a ctest that could not run, is a failure too.
  if ((rc != 0)) || [[ -z $summary ]]; then
    [[ -z $summary ]] && failed=$((failed + 1))
    status=1
  fi
}

# Runs a build script with its arguments; a failed build counts as a failed test.
build() {
  bash "$@" && return 0
  echo "test: $* failed"
  failed=$((failed + 1))
  status=1
  return 1
}

echo "== native build and tests"
build scripts/build.sh native && run_ctest build/native

echo "== fuzzers, 30 s each"
build scripts/build.sh fuzz && run_ctest build/fuzz

echo "== Windows build, packages and tests under Wine"
if build scripts/package.sh; then
  # The end-to-end tests' own prefix, as tests/e2e/CMakeLists.txt names it.
  export OMBRIX_WINEPREFIX=$PWD/build/win64/wineprefix
  # shellcheck source=scripts/wine-env.sh
  source scripts/wine-env.sh || exit 1
  ombrix_wine_share
  started=$(date +%s)
  run_ctest build/win64
  echo "test: the Windows tests took $(($(date +%s) - started)) s"
  ombrix_wine_stop
fi

echo "$passed passed, $failed failed"
exit "$status"
