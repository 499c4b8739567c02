#!/usr/bin/env bash
# The main command: installs what is missing, builds both targets, then renders
# a short test signal through the Windows plug-in under Wine into out/, with
# screenshots of the editor as the Windows and the Linux hosts show it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in linux windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
echo "Windows plug-in: build/windows/Morvex.vst3"
echo "Linux plug-in:   build/linux/Morvex.vst3"
echo
bash tools/host/demo.sh build/windows out build/linux
