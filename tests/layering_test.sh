#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the shape of the program's folders (ARCHITECTURE.md):
# - includes point downwards: a folder includes no header of a folder above it or beside it;
# - each folder's libraries link exactly the libraries of the folders its files include;
# - no system header (unistd.h, fcntl.h, sys/...) outside platform/ and imagelib/.
# Usage: layering_test.sh SOURCE_DIR
set -euo pipefail
cd "${1:-.}"
declare -A rank=([imagelib]=0 [platform]=0 [pictures]=1 [settings]=1 [locations]=2 [page]=2
                 [processing]=3 [importers]=4 [master]=5 [run]=6 [editor]=6 [shell]=7 [cli]=7)
# The libraries (and programs) each folder builds.
declare -A targets=([imagelib]="vantle" [platform]="lumvane_platform" [pictures]="lumvane_pictures"
  [settings]="lumvane_settings" [locations]="lumvane_locations" [page]="lumvane_page"
  [processing]="lumvane_processing" [importers]="lumvane_importers" [master]="lumvane_master"
  [run]="lumvane_run" [editor]="lumvane_editor" [shell]="lumvane_gui lumvane-window"
  [cli]="lumvane lumvane_cli")
problems=0
complain() {
  echo "$1"
  problems=$((problems + 1))
}

# The folders that `folder`'s files include.
included_folders() {
  grep -rhoE '^#include "[a-z]+/[^"]+"' "$1" | sed -E 's/^#include "([a-z]+)\/.*/\1/' | sort -u
}

# The libraries of this program that CMakeLists.txt links `target` with.
linked() {
  awk -v target="$1" '
    $0 ~ "^target_link_libraries\\(" target "[ )]" { taking = 1 }
    taking { line = $0; sub("^target_link_libraries\\(" target, "", line); print line }
    taking && /\)/ { taking = 0 }' CMakeLists.txt |
    tr ' ()' '\n\n\n' | grep -E '^(lumvane_[a-z]+|vantle)$' | sort -u || true
}

for folder in "${!rank[@]}"; do
  [ -d "$folder" ] || continue
  while IFS=: read -r file _ included; do
    target=${included%%/*}
    [ -n "${rank[$target]+set}" ] || continue  # a library's header, or a generated one
    if [ "$target" != "$folder" ] && [ "${rank[$target]}" -ge "${rank[$folder]}" ]; then
      complain "$file includes $included: $folder may only use folders below it"
    fi
  done < <(grep -rHnoE '^#include "[a-z]+/[^"]+"' "$folder" | sed -E 's/:[0-9]+:#include "/::/; s/"$//')

  if [ "$folder" = imagelib ]; then continue; fi  # libvantle links only other projects' libraries
  want=$(for used in $(included_folders "$folder"); do
    if [ "$used" != "$folder" ] && [ -n "${targets[$used]+set}" ]; then echo "${targets[$used]%% *}"; fi
  done | sort -u)
  have=$(for target in ${targets[$folder]}; do linked "$target"; done |
    grep -vxF -f <(tr ' ' '\n' <<<"${targets[$folder]}") | sort -u || true)
  for missing in $(comm -23 <(echo "$want") <(echo "$have")); do
    complain "$folder includes headers of $missing but does not link it"
  done
  for surplus in $(comm -13 <(echo "$want") <(echo "$have")); do
    complain "$folder links $surplus but includes none of its headers"
  done

  if [ "$folder" != platform ]; then
    while read -r found; do
      if [ -n "$found" ]; then complain "$found: system headers belong in platform/"; fi
    done < <(grep -rHnE '^#include <(unistd\.h|fcntl\.h|sys/[a-z_]+\.h|poll\.h|signal\.h|dirent\.h)>' \
      "$folder" --include=*.cpp --include=*.h | grep -v '^imagelib/' || true)
  fi
done
if [ "$problems" -gt 0 ]; then
  echo "$problems problem(s) with the layering"
  exit 1
fi
echo "layering: every include points downwards, every link is used, system calls stay in platform/"
