#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own. The layers, bottom up, and
# what each may include besides itself; the front ends may include any of them.
set -euo pipefail
cd "$(dirname "$0")/../src"
declare -A allowed=(
  [base]=""
  [platform]="base"
  [model]="base platform"
  [script]="base platform model"
  [view]="base platform model script"
  [interpreter]="base platform model script view"
  [app]="base platform model script view interpreter"
  [sealtool]="base platform"
  [checker]="base platform model script view interpreter"
)
status=0
for layer in "${!allowed[@]}"; do
  [ -d "$layer" ] || continue
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -n 's/.*#include "\([^/"]*\)\/.*/\1/p' <<<"$line")
    [ -z "$target" ] || [ "$target" = "$layer" ] && continue
    if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
      echo "upward include: src/$file includes $target/ (allowed for $layer/: ${allowed[$layer]:-nothing})"
      status=1
    fi
  done < <(grep -rn '^#include "' "$layer" || true)
done
if [ $status -eq 0 ]; then echo "layers: every include points down"; fi
exit $status
