#!/usr/bin/env bash
# Whole-file renders through morvex-host as a user runs them: the same 120 s
# files at 48 kHz (mono and stereo, 32-bit float) through the Linux plug-in,
# the Windows plug-in under Wine, and Debian's ZamEQ2 (zam-plugins; skipped
# with a message where it is missing). The rounds interleave the renders, so
# a busy machine slows each of them alike; the figures are the medians of the
# real-time factors morvex-host reports (render time only, no file I/O).
#
#   bench/render_files.sh [ROUNDS]     after both presets are built
#
# Set MORVEX_OLD_TREE to the build/linux folder of another tree (for example
# an earlier commit) to render through its plug-in and host as well.
set -eu
cd "$(dirname "$0")/.."
rounds=${1:-5}
linux_host=build/linux/tools/host/morvex-host
linux_bundle=build/linux/Morvex.vst3
win_host=build/windows/tools/host/morvex-host.exe
win_bundle=build/windows/Morvex.vst3
zam=/usr/lib/vst3/ZamEQ2.vst3
export MORVEX_WINEPREFIX=${MORVEX_WINEPREFIX:-$PWD/build/windows/wineprefix}

[ -x "$linux_host" ] || { echo "build the linux preset first"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"; WINEPREFIX="$MORVEX_WINEPREFIX" wineserver -w 2>/dev/null || true' EXIT

python3 - "$work" <<'PY'
import math, random, struct, sys
rate, n = 48000, 120 * 48000
random.seed(19)
for channels in (1, 2):
    frames = []
    for i in range(n):
        t = i / rate
        for c in range(channels):
            frames.append(0.4 * math.sin(2 * math.pi * (110 + 50 * c) * t) + 0.1 * random.uniform(-1, 1))
    data = struct.pack('<%df' % len(frames), *frames)
    fmt = struct.pack('<HHIIHH', 3, channels, rate, rate * 4 * channels, 4 * channels, 32)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(data)) + data
    open('%s/%s.wav' % (sys.argv[1], 'mono' if channels == 1 else 'stereo'), 'wb').write(
        b'RIFF' + struct.pack('<I', len(body)) + body)
PY

every_band=(--set "Input=3" --set "Low Gain=9" --set "Low Mid Gain=-5" --set "High Mid Gain=4"
  --set "High Gain=-7" --set "Highpass Filter=80" --set "Lowpass Filter=12000"
  --set "Filter Bypass=1" --set "Low Bell=1" --set "High Bell=1")

# name|command...; the plug-in's own settings follow each command.
runs=()
add() { runs+=("$1"); }
add "Morvex Linux, mono, defaults|$linux_host --module $linux_bundle render $work/mono.wav $work/out.wav"
[ -d "$zam" ] && add "ZamEQ2 Linux, mono, defaults|$linux_host --module $zam render $work/mono.wav $work/out.wav"
[ -d "$zam" ] || echo "$zam is not installed (Debian package zam-plugins): no ZamEQ2 figure"
add "Morvex Linux, mono, every band on|$linux_host --module $linux_bundle render $work/mono.wav $work/out.wav EVERY"
add "Morvex Linux, stereo, defaults|$linux_host --module $linux_bundle render $work/stereo.wav $work/out.wav"
add "Morvex Linux, stereo, every band on|$linux_host --module $linux_bundle render $work/stereo.wav $work/out.wav EVERY"
if [ -x "$win_host" ]; then
  wine="bash cmake/wine-run.sh"
  add "Morvex Windows under Wine, mono, defaults|$wine $win_host --module $win_bundle render $work/mono.wav $work/out.wav"
  add "Morvex Windows under Wine, stereo, every band on|$wine $win_host --module $win_bundle render $work/stereo.wav $work/out.wav EVERY"
else
  echo "no Windows build: no Wine figures"
fi
if [ -n "${MORVEX_OLD_TREE:-}" ]; then
  old="$MORVEX_OLD_TREE/tools/host/morvex-host --module $MORVEX_OLD_TREE/Morvex.vst3"
  add "earlier tree, Linux, mono, defaults|$old render $work/mono.wav $work/out.wav"
  add "earlier tree, Linux, stereo, every band on|$old render $work/stereo.wav $work/out.wav EVERY"
fi

for ((r = 0; r < rounds; ++r)); do
  for i in "${!runs[@]}"; do
    cmd=${runs[$i]#*|}
    args=()
    for word in $cmd; do
      if [ "$word" = EVERY ]; then args+=("${every_band[@]}"); else args+=("$word"); fi
    done
    factor=$("${args[@]}" | sed -n 's/.*: \([0-9]*\)x real time/\1/p')
    echo "$factor" >>"$work/result.$i"
  done
done

echo "medians of $rounds rounds (real-time factor, 120 s at 48 kHz, 512-frame blocks):"
for i in "${!runs[@]}"; do
  median=$(sort -n "$work/result.$i" | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}')
  printf '  %-52s %6sx   (all: %s)\n' "${runs[$i]%%|*}" "$median" "$(tr '\n' ' ' <"$work/result.$i")"
done
