#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file says its licence in its first lines (after a "#!" line), with
# the SPDX identifier, and the licence text lies beside them.
#   check_licence_notices.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
notice='SPDX-License-Identifier: GPL-3.0-or-later'
[ -f "$source_dir/LICENSE" ] || { echo "FAIL: no LICENSE"; exit 1; }
grep -q 'GNU GENERAL PUBLIC LICENSE' "$source_dir/LICENSE" || { echo "FAIL: LICENSE is not the GPL"; exit 1; }
missing=0
while IFS= read -r -d '' file; do
    if ! head -n 2 "$file" | grep -qF "$notice"; then
        echo "FAIL: ${file#"$source_dir"/} has no licence notice"
        missing=$((missing + 1))
    fi
done < <(find "$source_dir"/{src,tests,bench,fuzz,scripts,cmake} "$source_dir/CMakeLists.txt" \
    -path "$source_dir/fuzz/corpus" -prune -o -type f \
    \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name '*.py' -o -name '*.cmake' \
    -o -name CMakeLists.txt \) -print0)
[ "$missing" -eq 0 ] || exit 1
echo "licence notices: every source file has one"
