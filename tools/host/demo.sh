#!/usr/bin/env bash
# Renders a short generated test signal through the Windows Morvex plug-in
# under Wine with a few settings, and writes the audio, the measured response
# curves (CSV and PNG) and screenshots of the editor, as the Windows and the
# Linux hosts show it, to out/. Needs built `windows` and `linux` presets.
#
#   tools/host/demo.sh [BUILD_DIR] [OUT_DIR] [LINUX_BUILD_DIR]
set -eu

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/windows}
out=${2:-$root/out}
linux_build=${3:-$root/build/linux}
mkdir -p "$out"
build=$(cd "$build" && pwd)
out=$(cd "$out" && pwd)
host_exe=$build/tools/host/morvex-host.exe
bundle=$build/Morvex.vst3
linux_host=$linux_build/tools/host/morvex-host
linux_bundle=$linux_build/Morvex.vst3

for f in "$host_exe" "$bundle/Contents/x86_64-win/Morvex.vst3"; do
  if [ ! -f "$f" ]; then
    echo "demo: $f is missing; build the windows preset first" >&2
    exit 1
  fi
done
for f in "$linux_host" "$linux_bundle/Contents/x86_64-linux/Morvex.so"; do
  if [ ! -f "$f" ]; then
    echo "demo: $f is missing; build the linux preset first" >&2
    exit 1
  fi
done
linux_bundle=$(cd "$linux_bundle" && pwd)

export MORVEX_WINEPREFIX=${MORVEX_WINEPREFIX:-$build/wineprefix}
run_host() {
  "$root/cmake/wine-run.sh" "$host_exe" --module "$bundle" "$@"
}
finish() {
  WINEPREFIX=$MORVEX_WINEPREFIX wineserver -w 2>/dev/null || true
}
trap finish EXIT

# Four seconds of stereo at 48 kHz: a low tone, a chord and soft noise.
python3 - "$out/test-signal.wav" <<'PY'
import math, random, struct, sys, wave
rate, seconds = 48000, 4
random.seed(7)
frames = bytearray()
for i in range(rate * seconds):
    t = i / rate
    fade = min(1.0, t / 0.05, (seconds - t) / 0.05)
    tones = 0.20 * math.sin(2 * math.pi * 55 * t) + sum(
        0.08 * math.sin(2 * math.pi * f * t) for f in (440.0, 554.37, 659.25))
    left = fade * (tones + 0.05 * random.uniform(-1, 1))
    right = fade * (tones + 0.05 * random.uniform(-1, 1))
    frames += struct.pack('<hh', int(32767 * left), int(32767 * right))
with wave.open(sys.argv[1], 'wb') as w:
    w.setnchannels(2)
    w.setsampwidth(2)
    w.setframerate(rate)
    w.writeframes(bytes(frames))
PY
echo "demo: wrote $out/test-signal.wav"

# name | settings
demos=(
  "low-bell-boost|Low Gain=6|Low Bell=1|Low Frequency=100"
  "highpass-80|Filter Bypass=1|Highpass Filter=80"
  "io-link|Input=6|I/O Link=1|High Gain=-4"
)
for entry in "${demos[@]}"; do
  IFS='|' read -r -a fields <<<"$entry"
  name=${fields[0]}
  sets=()
  for s in "${fields[@]:1}"; do sets+=(--set "$s"); done
  run_host render "$out/test-signal.wav" "$out/$name.wav" "${sets[@]}"
  run_host response "${sets[@]}" --csv "$out/$name-response.csv" --png "$out/$name-response.png"
  echo "demo: wrote $out/$name.wav and $out/$name-response.png"
done

# The editor as a Windows host and as a Linux host show it, with the
# low-bell boost's settings, each read back from a virtual 24-bit screen.
editor_sets=(--set "Low Gain=6" --set "Low Bell=1" --set "Low Frequency=100"
  --set "Filter Bypass=1" --set "Highpass Filter=80" --set "High Mid Gain=-3" --set "Input=3"
  --set "I/O Link=1")
"$root/cmake/wine-run.sh" --x11 "$host_exe" --module "$bundle" editor --png "$out/editor.png" \
  "${editor_sets[@]}"
echo "demo: wrote $out/editor.png"
xvfb-run -a -s "-screen 0 1280x1024x24" "$linux_host" --module "$linux_bundle" \
  editor --png "$out/editor-linux.png" "${editor_sets[@]}"
echo "demo: wrote $out/editor-linux.png"
# The same editor for a screen of twice the density (the host's content
# factor 2), and with the name plate reading "Low Gain" in the middle of a
# drag made by Windows from mouse input.
"$root/cmake/wine-run.sh" --x11 "$host_exe" --module "$bundle" editor --png "$out/editor@2x.png" \
  "${editor_sets[@]}" --scale 2
echo "demo: wrote $out/editor@2x.png"
"$root/cmake/wine-run.sh" --x11 "$host_exe" --module "$bundle" editor \
  --png "$out/editor-readout.png" "${editor_sets[@]}" --drag 278,71,-12
echo "demo: wrote $out/editor-readout.png"

echo
echo "The demo files are in $out."
echo "To use the plug-in on Windows, copy the folder $bundle"
echo "to C:\\Program Files\\Common Files\\VST3\\ and rescan plug-ins in the host."
echo "To use it on Linux, copy the folder $linux_bundle"
echo "to ~/.vst3/ and rescan plug-ins in the host."
