#!/usr/bin/env bash
# The Windows plug-in (under Wine) and the Linux plug-in, each hosted by its
# own morvex-host, render the same file with the same settings to the same
# audio, bit for bit: neither the per-sample loop nor the per-block designs
# call a C runtime's functions. The file is 30 s of noise and tones; the last
# settings turn every band on and move every control across it ("Name=a:b" is
# an automation lane from a to b). Skips (77) when the Linux build is absent.
#
#   cross_target_render.sh WIN_HOST WIN_BUNDLE LINUX_HOST LINUX_BUNDLE WINE_RUNNER
set -eu
win_host=$1 win_bundle=$2 linux_host=$3 linux_bundle=$4 wine_runner=$5

if [ ! -x "$linux_host" ] || [ ! -d "$linux_bundle" ]; then
  echo "no Linux build next to this one; skipping"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work/in.wav" <<'PY'
import math, random, struct, sys
rate, n = 48000, 30 * 48000
random.seed(3)
data = bytearray()
for i in range(n):
    t = i / rate
    for ch in range(2):
        v = 0.4 * math.sin(2 * math.pi * (70 + 30 * ch) * t) + 0.2 * random.uniform(-1, 1)
        data += struct.pack('<i', int(v * 8388607))[:3]
fmt = struct.pack('<HHIIHH', 1, 2, rate, rate * 6, 6, 24)
body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(data)) + data
open(sys.argv[1], 'wb').write(b'RIFF' + struct.pack('<I', len(body)) + body)
PY

settings=(
  "Low Gain=7|Low Bell=1|Low Frequency=200"
  "Filter Bypass=1|Highpass Filter=120|Lowpass Filter=6000|High Gain=-5|High Mid Gain=4"
  "Input=9|I/O Link=1|Low Mid Gain=-6|Low Mid Bandwidth=0.2|High Bell=1|High Gain=5"
  "Filter Bypass=1|Low Bell=1|High Bell=1|Input=-6:9|Output=3:-3|Low Gain=-12:12|Low Frequency=40:400|Low Mid Gain=8:-8|Low Mid Frequency=300:2000|Low Mid Bandwidth=0:1|High Mid Gain=-6:10|High Mid Frequency=1000:6000|High Mid Bandwidth=1:0|High Gain=10:-10|High Frequency=2000:15000|Highpass Filter=20:200|Lowpass Filter=18000:3000"
)
status=0
for entry in "${settings[@]}"; do
  IFS='|' read -r -a fields <<<"$entry"
  sets=()
  for s in "${fields[@]}"; do
    if [[ $s == *:* ]]; then sets+=(--sweep "$s"); else sets+=(--set "$s"); fi
  done
  "$linux_host" --module "$linux_bundle" render "$work/in.wav" "$work/linux.wav" "${sets[@]}" >/dev/null
  "$wine_runner" "$win_host" --module "$win_bundle" render "$work/in.wav" "$work/windows.wav" "${sets[@]}" >/dev/null
  python3 - "$work/linux.wav" "$work/windows.wav" "$entry" <<'PY' || status=1
import struct, sys

def samples(path):
    raw = open(path, 'rb').read()
    pos, fmt, data = 12, None, None
    while pos + 8 <= len(raw):
        cid, size = raw[pos:pos + 4], struct.unpack('<I', raw[pos + 4:pos + 8])[0]
        if cid == b'fmt ': fmt = struct.unpack('<HHIIHH', raw[pos + 8:pos + 24])
        if cid == b'data': data = raw[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)
    assert fmt[0] == 3 and fmt[5] == 32, 'expected 32-bit float output'
    return struct.unpack('<%df' % (len(data) // 4), data)

a, b = samples(sys.argv[1]), samples(sys.argv[2])
if len(a) != len(b):
    sys.exit('%s: lengths differ (%d, %d)' % (sys.argv[3], len(a), len(b)))
worst = max(abs(x - y) for x, y in zip(a, b))
peak = max(abs(x) for x in a)
differing = sum(1 for x, y in zip(a, b) if x != y)
print('%s: %d samples, peak %.3f, %d differ, largest difference %.3g'
      % (sys.argv[3], len(a), peak, differing, worst))
if not peak > 0.01 or differing:
    sys.exit('renders differ')
PY
done
exit $status
