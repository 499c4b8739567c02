#!/usr/bin/env bash
# The archive a user downloads, as they get it: the build's `package` target
# makes it, it is unpacked into a fresh folder, and what comes out is checked:
# the four things it holds and nothing else, the bundle exactly as the build
# made it (stripped module, moduleinfo.json, every other file the build put
# in), sane sizes, the guide page, the licence and the changes. The unpacked
# bundle is then loaded the way a host loads it, and its moduleinfo.json is
# validated with Steinberg's moduleinfotool where the tools are present.
#
#   release_archive.sh BUILD_DIR PLATFORM VERSION BUNDLE HOST NM OBJDUMP PROJECT_ROOT TOOLS_DIR
#                      [WINE_RUNNER]
#
# PLATFORM is windows-x64 or linux-x86_64. With a WINE_RUNNER the host tool
# and moduleinfotool are the Windows ones, run under it.
set -u
build=$1 platform=$2 version=$3 bundle=$4 host=$5 nm=$6 objdump=$7 root=$8 configured=$9
runner=${10:-}
python=/usr/bin/python3
status=0
fail() { echo "FAIL: $*"; status=1; }
run() { if [ -n "$runner" ]; then "$runner" "$@"; else "$@"; fi; }

name=Morvex-$version-$platform
case "$platform" in
  windows-x64) archive=$name.zip module_rel=Contents/x86_64-win/Morvex.vst3 exe=.exe ;;
  linux-x86_64) archive=$name.tar.gz module_rel=Contents/x86_64-linux/Morvex.so exe= ;;
  *) echo "unknown platform $platform"; exit 2 ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Made by the target a user's build runs, and made now.
touch "$work/start"
if ! cmake --build "$build" --target package >"$work/package.log" 2>&1; then
  tail -n 20 "$work/package.log"
  echo "FAIL: the package target failed"
  exit 1
fi
if [ ! -f "$build/$archive" ] || [ ! "$build/$archive" -nt "$work/start" ]; then
  grep 'CPack:' "$work/package.log"
  echo "FAIL: the package target made no $archive"
  exit 1
fi
echo "$archive: $(wc -c <"$build/$archive") bytes"

# Unpacked with the archive format's own reader, every entry inside one folder.
mkdir "$work/unpacked"
"$python" - "$build/$archive" "$work/unpacked" "$name" <<'PY' || exit 1
import sys, tarfile, zipfile
path, dest, top = sys.argv[1:]
if path.endswith(".zip"):
    with zipfile.ZipFile(path) as z:
        bad = z.testzip()
        if bad:
            sys.exit("FAIL: %s is damaged in the archive" % bad)
        names = z.namelist()
        z.extractall(dest)
else:
    with tarfile.open(path, "r:gz") as t:
        names = t.getnames()
        t.extractall(dest)
outside = [n for n in names if n.split("/")[0] != top or ".." in n.split("/") or "\\" in n]
if outside:
    sys.exit("FAIL: entries outside %s/: %s" % (top, ", ".join(outside[:5])))
PY
folder=$work/unpacked/$name

expected=$'CHANGES.txt\nLICENSE.txt\nMorvex User Guide.html\nMorvex.vst3'
actual=$(cd "$folder" && ls -1A | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  fail "the archive's folder holds [$(echo $actual)], not [$(echo $expected)]"
fi

# The bundle is the build's, file for file and byte for byte, whatever files
# the build puts into it.
shipped=$folder/Morvex.vst3
built_files=$(cd "$bundle" && find . -type f | LC_ALL=C sort)
shipped_files=$(cd "$shipped" && find . -type f | LC_ALL=C sort)
if [ "$built_files" != "$shipped_files" ]; then
  fail "the shipped bundle's files differ from the build's:"
  diff <(echo "$built_files") <(echo "$shipped_files") | sed 's/^/  /'
fi
while read -r f; do
  [ -f "$shipped/$f" ] && ! cmp -s "$bundle/$f" "$shipped/$f" && fail "$f differs from the build's"
done <<<"$built_files"
for f in "$module_rel" Contents/Resources/moduleinfo.json; do
  [ -f "$shipped/$f" ] || fail "the bundle has no $f"
done

# Sizes a user can trust: no empty file, a module of plausible size that
# carries no symbols, pictures that are PNG files.
while read -r f; do
  [ -s "$folder/$f" ] || fail "$f is empty"
done < <(cd "$folder" && find . -type f)
module=$shipped/$module_rel
if [ -f "$module" ]; then
  size=$(wc -c <"$module")
  if [ "$size" -lt 262144 ] || [ "$size" -gt 67108864 ]; then
    fail "the module is $size bytes"
  fi
  if "$nm" "$module" 2>/dev/null | grep -q .; then fail "the shipped module carries symbols"; fi
fi
while read -r f; do
  [ "$(head -c 8 "$shipped/$f" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$f is no PNG file"
done < <(cd "$shipped" && find . -type f -name '*.png')

info_json=$shipped/Contents/Resources/moduleinfo.json
"$python" - "$info_json" "$version" <<'PY' || status=1
import json, sys
info = json.load(open(sys.argv[1], encoding="utf-8"))
problems = []
if info.get("Name") != "Morvex":
    problems.append("names %r" % info.get("Name"))
if info.get("Version") != sys.argv[2]:
    problems.append("gives version %r, the project %s" % (info.get("Version"), sys.argv[2]))
if not any(c.get("Name") == "Morvex" and c.get("Version") == sys.argv[2] for c in info.get("Classes", [])):
    problems.append("lists no Morvex class of version %s" % sys.argv[2])
for p in problems:
    print("FAIL: moduleinfo.json " + p)
sys.exit(1 if problems else 0)
PY

# The unpacked bundle loads as a host loads it, and is the one that loaded.
if run "$host" --module "$shipped" info >"$work/info.txt" 2>&1; then
  tr -d '\r' <"$work/info.txt" >"$work/info.lf"
  for line in "class: Morvex" "version: $version" "parameters: 22"; do
    grep -qx "$line" "$work/info.lf" || fail "morvex-host info of the unpacked bundle lacks \"$line\""
  done
  grep -q "^module: .*$(basename "$work")" "$work/info.lf" ||
    fail "morvex-host loaded $(grep '^module:' "$work/info.lf"), not the unpacked bundle"
  echo "the unpacked bundle loads: $(grep -E '^(class|version|parameters):' "$work/info.lf" | tr '\n' ' ')"
else
  cat "$work/info.txt"
  fail "morvex-host cannot load the unpacked bundle"
fi

tools=""
for dir in "${VST3_TOOLS_DIR:-}" "$configured" "$root/../shared/tools/vst3"; do
  if [ -n "$dir" ] && [ -f "$dir/moduleinfotool$exe" ]; then
    tools=$(cd "$dir" && pwd)
    break
  fi
done
if [ -z "$tools" ]; then
  echo "no moduleinfotool$exe found (VST3_TOOLS_DIR): moduleinfo.json not validated"
elif run "$tools/moduleinfotool$exe" -validate -path "$shipped" >"$work/validate.log" 2>&1; then
  echo "moduleinfotool: the shipped moduleinfo.json agrees with its module"
else
  grep -av '^ *moduleinfotool \|^Usage:' "$work/validate.log"
  fail "moduleinfotool: the shipped moduleinfo.json does not agree with its module"
fi

# The guide: one page, everything inside it or beside it, and the plug-in's
# own parameters and defaults in its tables.
"$python" "$root/tests/system/guide_check.py" "$folder/Morvex User Guide.html" --beside "$folder" \
  --info "$work/info.lf" || status=1

# What the module needs from a user's computer is what the guide says.
"$python" "$root/tests/system/module_needs.py" "$platform" "$module" "$folder/Morvex User Guide.html" \
  "$objdump" || status=1

# The licence: the product's terms first, then libpng's and zlib's licences,
# then the VST trademark line. The changes start with this version.
"$python" - "$folder/LICENSE.txt" "$root/docs/terms.txt" "$folder/CHANGES.txt" "$version" <<'PY' || status=1
import re, sys
licence = open(sys.argv[1], encoding="utf-8").read()
terms = open(sys.argv[2], encoding="utf-8").read().strip()
changes = open(sys.argv[3], encoding="utf-8").read()
marks = [("the product's terms", terms.splitlines()[0]),
         ("libpng's licence", "PNG Reference Library License version 2"),
         ("zlib's licence", "Jean-loup Gailly and Mark Adler"),
         ("the VST trademark line", "VST is a trademark of Steinberg Media Technologies GmbH")]
problems = []
if not licence.startswith(terms):
    problems.append("LICENSE.txt does not start with the product's terms")
places = [licence.find(text) for _, text in marks]
for (what, _), place in zip(marks, places):
    if place < 0:
        problems.append("LICENSE.txt lacks %s" % what)
if all(p >= 0 for p in places) and places != sorted(places):
    problems.append("LICENSE.txt has its parts out of order")
first = re.search(r"^(\d+\.\d+\.\d+)\s*$", changes, re.M)
if not first or first.group(1) != sys.argv[4]:
    problems.append("CHANGES.txt starts with version %s, not %s"
                    % (first.group(1) if first else "none", sys.argv[4]))
for p in problems:
    print("FAIL: " + p)
if not problems:
    print("LICENSE.txt: terms, libpng, zlib, trademark; CHANGES.txt starts with %s" % sys.argv[4])
sys.exit(1 if problems else 0)
PY

exit $status
