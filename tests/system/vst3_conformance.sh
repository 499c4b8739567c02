#!/usr/bin/env bash
# Steinberg's VST 3 conformance validator and moduleinfo tool on a built bundle.
#
#   vst3_conformance.sh CHECK BUNDLE PROJECT_ROOT CONFIGURED_TOOLS_DIR [WINE_RUNNER]
#
# CHECK is "validator" (the normal run), "extensive" (validator -e) or
# "moduleinfo" (moduleinfotool -validate). With a WINE_RUNNER the Windows
# builds of the tools run under it. The tools are looked for in
# $VST3_TOOLS_DIR, then in the folder the build was configured with, then in
# ../shared/tools/vst3 beside the project; without them the check is skipped (77).
set -u
check=$1 bundle=$2 root=$3 configured=$4 runner=${5:-}
exe=""
if [ -n "$runner" ]; then exe=.exe; fi

tools=""
for dir in "${VST3_TOOLS_DIR:-}" "$configured" "$root/../shared/tools/vst3"; do
  if [ -n "$dir" ] && [ -f "$dir/validator$exe" ] && [ -f "$dir/moduleinfotool$exe" ]; then
    tools=$(cd "$dir" && pwd)
    break
  fi
done
if [ -z "$tools" ]; then
  echo "skipped: no VST 3 validator found. Point VST3_TOOLS_DIR (in the environment, or"
  echo "-DVST3_TOOLS_DIR=... when configuring) at a folder holding Steinberg's validator$exe"
  echo "and moduleinfotool$exe (VST 3 SDK 3.7 or later)."
  exit 77
fi

run() {
  if [ -n "$runner" ]; then "$runner" "$@"; else "$@"; fi
}

log=$(mktemp)
trap 'rm -f "$log"' EXIT

case "$check" in
  validator | extensive)
    args=("$bundle")
    if [ "$check" = extensive ]; then args=(-e "$bundle"); fi
    run "$tools/validator$exe" "${args[@]}" >"$log" 2>&1
    status=$?
    result=$(grep -a '^Result: ' "$log" | tail -n 1 | tr -d '\r')
    echo "validator ${args[*]}"
    echo "${result:-no result line (exit status $status)}"
    if [ "$status" -eq 0 ] && [[ "$result" =~ \ 0\ tests\ failed$ ]]; then
      exit 0
    fi
    # The failed tests, each from its name to its verdict.
    awk '/^\[/ && !/^\[(Succeeded|XXXXXXX Failed)\]/ { block = "" }
         { block = block $0 "\n" }
         /^\[XXXXXXX Failed\]/ { printf "%s", block }' "$log"
    exit 1
    ;;
  moduleinfo)
    run "$tools/moduleinfotool$exe" -validate -path "$bundle" >"$log" 2>&1
    status=$?
    if [ "$status" -eq 0 ]; then
      echo "moduleinfo.json of $bundle agrees with its factory"
      exit 0
    fi
    grep -av '^ *moduleinfotool \|^Usage:' "$log"
    echo "moduleinfo.json of $bundle does not agree with its factory (exit status $status)"
    exit 1
    ;;
  *)
    echo "unknown check $check"
    exit 2
    ;;
esac
