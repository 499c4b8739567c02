#!/usr/bin/env bash
# The bundle as it ships: a stripped module whose symbols stay in the build
# tree, the moduleinfo.json hosts read instead of loading the module, and the
# snapshots they show of its editor.
#
#   bundle_check.sh BUNDLE MODULE SYMBOLS NM
set -u
bundle=$1 module=$2 symbols=$3 nm=$4
status=0
fail() { echo "$1"; status=1; }

if "$nm" "$module" 2>/dev/null | grep -q .; then
  fail "$module still carries symbols"
fi
if ! "$nm" "$symbols" 2>/dev/null | grep -q ' T GetPluginFactory$'; then
  fail "$symbols holds no symbols of the module"
fi
info=$bundle/Contents/Resources/moduleinfo.json
if ! grep -q '"Name": "Morvex"' "$info" 2>/dev/null; then
  fail "$info is missing or names another module"
fi
# Hosts show the class's snapshots, found by its class ID, at 1x and 2x.
cid=$(grep -o '"CID": "[0-9A-F]\{32\}"' "$info" 2>/dev/null | cut -d'"' -f4)
for snapshot in "${cid}_snapshot.png" "${cid}_snapshot_2.0x.png"; do
  if [ -z "$cid" ] || [ ! -s "$bundle/Contents/Resources/Snapshots/$snapshot" ]; then
    fail "$bundle/Contents/Resources/Snapshots/$snapshot is missing"
  fi
done
if [ "$status" -eq 0 ]; then
  echo "$(basename "$module"): $(wc -c <"$module") bytes, stripped; symbols in $symbols; $info and snapshots present"
fi
exit $status
