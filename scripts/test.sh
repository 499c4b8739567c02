#!/usr/bin/env bash
# The whole test run: install what is missing, build both targets, run the native
# tests (plain and under AddressSanitizer/UBSan), the editor's threads stress test
# under ThreadSanitizer, and the Windows tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
start=$(date +%s)

status=0
run_preset() {
  local preset=$1
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: tests"
  ctest --preset "$preset" || status=1
}

run_preset linux
run_preset linux-asan
run_preset linux-tsan

# One fresh Wine prefix per run; its first start is the slow one.
export MORVEX_WINEPREFIX="$PWD/build/windows/wineprefix"
rm -rf "$MORVEX_WINEPREFIX"
mkdir -p "$MORVEX_WINEPREFIX"
WINEPREFIX="$MORVEX_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  env -u DISPLAY wineboot -i >/dev/null 2>&1 || true
run_preset windows
# Nothing of Wine may outlive the run.
WINEPREFIX="$MORVEX_WINEPREFIX" wineserver -w || true

echo "== test run took $(( $(date +%s) - start )) s"
exit $status
