#!/usr/bin/env bash
# The Windows editor (under Wine) and the Linux editor, each opened by its own
# morvex-host on a virtual 24-bit screen, show the same pixels for the same
# settings: knobs at both ends of their travel and between, switches on and
# off, at factors given before the editor opens and after it drew, on a
# Windows screen of 192 dpi with and without a factor from the host, and in
# the middle of a drag, the name plate reading the knob. Skips (77) when the
# Linux build is absent.
#
#   cross_target_editor.sh WIN_HOST WIN_BUNDLE LINUX_HOST LINUX_BUNDLE WINE_RUNNER
set -eu
win_host=$1 win_bundle=$2 linux_host=$3 linux_bundle=$4 wine_runner=$5

if [ ! -x "$linux_host" ] || [ ! -d "$linux_bundle" ]; then
  echo "no Linux build next to this one; skipping"
  exit 77
fi

work=$(mktemp -d)
# A 192-dpi screen is a setting of the Wine prefix; it must not outlive its cases.
dpi() {
  if [ "$1" = 96 ]; then
    "$wine_runner" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  else
    "$wine_runner" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
  fi
}
trap 'dpi 96; rm -rf "$work"' EXIT

settings=(
  "Input=24|High Frequency=16000|High Gain=16|High Mid Frequency=7000|High Mid Bandwidth=1|High Mid Gain=16|Highpass Filter=350|Low Frequency=450|Low Gain=16|Low Mid Frequency=2500|Low Mid Bandwidth=1|Low Mid Gain=16|Lowpass Filter=20000|Output=24|EQ Bypass=1|Filter Bypass=1|Low Bell=1|High Bell=1|I/O Link=1"
  "Input=-24|High Frequency=1500|High Gain=-16|High Mid Frequency=600|High Mid Bandwidth=0|High Mid Gain=-16|Highpass Filter=16|Low Frequency=30|Low Gain=-16|Low Mid Frequency=200|Low Mid Bandwidth=0|Low Mid Gain=-16|Lowpass Filter=1000|Output=-24|EQ Bypass=0|Filter Bypass=0|Low Bell=0|High Bell=0|I/O Link=0"
  "Input=-7.5|High Frequency=6200|High Gain=3.3|High Mid Frequency=1800|High Mid Bandwidth=0.3|High Mid Gain=-9|Highpass Filter=95|Low Frequency=80|Low Gain=11|Low Mid Frequency=900|Low Mid Bandwidth=0.75|Low Mid Gain=-2.5|Lowpass Filter=9000|Output=5|Filter Bypass=1|High Bell=1"
)
# What each case gives the two hosts: a set of settings above, the Linux
# host's factor options, the Windows host's, and the Windows screen's dpi.
cases=(
  "1|||96"
  "2|||96"
  "3|||96"
  "3|--scale 2|--scale 2|96"
  "1|--scale 1.5|--scale 1.5|96"
  "2|--rescale 1.25|--rescale 1.25|96"
  "3|--scale 2||192"
  "1|--scale 1.5|--scale 1.5|192"
  "3|--drag 278,71,-20|--drag 278,71,-20|96"
  "2|--scale 2 --drag 556,142,-40|--scale 2 --drag 556,142,-40|96"
)
status=0
n=0
for entry in "${cases[@]}"; do
  IFS='|' read -r set linux_scale windows_scale screen_dpi <<<"$entry"
  IFS='|' read -r -a fields <<<"${settings[$((set - 1))]}"
  sets=()
  for s in "${fields[@]}"; do sets+=(--set "$s"); done
  n=$((n + 1))
  # shellcheck disable=SC2086  # the factor options are words or nothing
  xvfb-run -a -s "-screen 0 3600x1200x24" \
    "$linux_host" --module "$linux_bundle" editor --png "$work/linux-$n.png" "${sets[@]}" \
    $linux_scale >/dev/null
  [ "$screen_dpi" = 96 ] || dpi "$screen_dpi"
  # shellcheck disable=SC2086
  "$wine_runner" --x11 "$win_host" --module "$win_bundle" editor --png "$work/windows-$n.png" \
    "${sets[@]}" $windows_scale >/dev/null
  [ "$screen_dpi" = 96 ] || dpi 96
  /usr/bin/python3 - "$work/linux-$n.png" "$work/windows-$n.png" \
    "set $set ${linux_scale:-at 1} (Windows at $screen_dpi dpi${windows_scale:+, $windows_scale})" <<'PY' || status=1
import cairo, sys

def pixels(path):
    s = cairo.ImageSurface.create_from_png(path)
    w, h, stride = s.get_width(), s.get_height(), s.get_stride()
    data = bytes(s.get_data())
    return w, h, b''.join(data[y * stride:y * stride + 4 * w] for y in range(h))

(w, h, a), (wb, hb, b) = pixels(sys.argv[1]), pixels(sys.argv[2])
name = sys.argv[3]
if (w, h) != (wb, hb):
    sys.exit('%s: Linux shows %d x %d, Windows %d x %d' % (name, w, h, wb, hb))
pa, pb = memoryview(a).cast('I'), memoryview(b).cast('I')
colours = len(set(p & 0xFFFFFF for p in pa))
differing, box = 0, None
if a != b:
    for i, (p, q) in enumerate(zip(pa, pb)):
        if (p ^ q) & 0xFFFFFF:
            x, y = i % w, i // w
            differing += 1
            box = (min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y)) if box else (x, y, x, y)
print('%s: %d x %d, %d colours, %d pixels differ%s'
      % (name, w, h, colours, differing,
         ' within (%d, %d)-(%d, %d)' % box if box else ''))
# A blank or flat screen on both sides would agree without showing anything.
if colours < 256 or differing:
    sys.exit('%s: the screenshots differ or show no editor' % name)
PY
done

# The settings reached the editor: each set looks different from the others.
cmp -s "$work/linux-1.png" "$work/linux-2.png" && { echo "sets 1 and 2 look the same"; status=1; }
cmp -s "$work/linux-2.png" "$work/linux-3.png" && { echo "sets 2 and 3 look the same"; status=1; }
cmp -s "$work/linux-1.png" "$work/linux-3.png" && { echo "sets 1 and 3 look the same"; status=1; }
# The drag reached the editor: set 3 dragged is not set 3 at rest.
cmp -s "$work/linux-3.png" "$work/linux-9.png" && { echo "the drag changed nothing"; status=1; }
exit $status
