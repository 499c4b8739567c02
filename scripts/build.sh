#!/usr/bin/env bash
# Installs what is missing and builds both targets.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in linux windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
echo "Windows plug-in: build/windows/Morvex.vst3"
echo "Linux plug-in:   build/linux/Morvex.vst3"
