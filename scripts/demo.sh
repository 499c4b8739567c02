#!/usr/bin/env bash
# The main command: installs what is missing, builds both targets, then renders
# a short test signal through the Windows plug-in under Wine into out/, with
# screenshots of the editor as the Windows and the Linux hosts show it, and
# ends with the two archives a user downloads, also in out/.
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

# The archives a user downloads, made by each preset's package target.
echo
for preset in windows linux; do
  made=$(cmake --build --preset "$preset" --target package |
    sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
  if [ ! -f "$made" ]; then
    echo "demo: the $preset package target made no archive" >&2
    exit 1
  fi
  cp "$made" out/
  echo "Release archive for $preset: out/$(basename "$made")"
done
