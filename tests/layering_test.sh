#!/usr/bin/env bash
# Fails when a folder of the program includes a header of a folder above it (or beside it) in
# the layering: imagelib, platform -> pictures -> importers, page -> master -> run, editor ->
# settings -> shell -> cli. The master merge is called by the run driver like an importer, so it lies
# below the run. Usage: layering_test.sh SOURCE_DIR
set -euo pipefail
cd "${1:-.}"
declare -A rank=([imagelib]=0 [platform]=0 [pictures]=1 [importers]=2 [page]=2
                 [master]=3 [run]=4 [editor]=4 [settings]=5 [shell]=6 [cli]=7)
problems=0
for folder in "${!rank[@]}"; do
  [ -d "$folder" ] || continue
  while IFS=: read -r file _ included; do
    target=${included%%/*}
    [ -n "${rank[$target]+set}" ] || continue  # a library's header, or a generated one
    if [ "$target" != "$folder" ] && [ "${rank[$target]}" -ge "${rank[$folder]}" ]; then
      echo "$file includes $included: $folder may only use folders below it"
      problems=$((problems + 1))
    fi
  done < <(grep -rHnoE '^#include "[a-z]+/[^"]+"' "$folder" | sed -E 's/:[0-9]+:#include "/::/; s/"$//')
done
if [ "$problems" -gt 0 ]; then
  echo "$problems include(s) against the layering"
  exit 1
fi
echo "layering: every include points downwards"
