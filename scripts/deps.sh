#!/usr/bin/env bash
# The includes between the folders of src/: "from -> to  count" for every
# pair, then whether the folders form a cycle (tsort names one if they do).
#   bash scripts/deps.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../src"
edges="$(grep -rHoE '^#include "[a-z_]+/' --include='*.h' --include='*.cpp' . |
    sed -E 's#^\./([a-z_]+)/[^:]*:\#include "([a-z_]+)/$#\1 \2#' |
    awk '$1 != $2' | sort)"
echo "Includes between folders (from -> to: count)"
printf '%s\n' "$edges" | uniq -c | awk '{ printf "  %-12s -> %-12s %5d\n", $2, $3, $1 }'
echo
if cycle="$(printf '%s\n' "$edges" | sort -u | tsort 2>&1 >/dev/null)" && [ -z "$cycle" ]; then
    echo "No cycle between folders."
else
    echo "Folders in a cycle:"
    printf '%s\n' "$cycle" | sed -n 's/^tsort: //p' | grep -v 'input contains a loop' | sed 's/^/  /'
fi
