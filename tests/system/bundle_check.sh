#!/usr/bin/env bash
# The bundle as it ships: a stripped module whose symbols stay in the build
# tree, and the moduleinfo.json hosts read instead of loading the module.
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
if [ "$status" -eq 0 ]; then
  echo "$(basename "$module"): $(wc -c <"$module") bytes, stripped; symbols in $symbols; $info present"
fi
exit $status
