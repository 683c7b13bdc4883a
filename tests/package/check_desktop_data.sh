#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Validates the desktop entry (desktop-file-validate) and the AppStream metadata
# (appstreamcli validate --no-net): errors fail, warnings are shown. The newest
# release of the metadata must be the project's version.
#   check_desktop_data.sh SOURCE_DIR PROJECT_VERSION
set -euo pipefail
source_dir=$1
version=$2
desktop=$source_dir/data/versemark.desktop
metainfo=$source_dir/data/example.versemark.Versemark.metainfo.xml

for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "FAIL: $tool is missing; scripts/setup.sh installs it"
        exit 1
    fi
done

failures=0
desktop-file-validate "$desktop" || { echo "FAIL: desktop-file-validate found errors"; failures=$((failures + 1)); }
appstreamcli validate --no-net "$metainfo" || { echo "FAIL: appstreamcli found errors"; failures=$((failures + 1)); }

# Releases are listed newest first.
newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
if [ "$newest" != "$version" ]; then
    echo "FAIL: the newest release in the metadata is '$newest', the project's version is $version"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] || exit 1
echo "desktop entry and AppStream metadata valid"
