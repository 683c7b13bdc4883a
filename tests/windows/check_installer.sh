#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under Wine, silently, in the prefix WINEPREFIX names:
#   1. for all users: Program Files and the machine's uninstall entry, and the
#      installed versemark-cli.exe answers its version. It stays installed;
#   2. for the current user with /AddToPath: nothing of the machine's registry or
#      of Program Files changes, the installation for all users included; the
#      uninstall entry names the publisher, the icon and the size; the folder goes
#      to the end of the user's PATH; a silent uninstall removes the programs, the
#      entry and the PATH entry, and keeps the settings and the undo journals;
#   3. the same with a PATH too long to be edited: it is left as it is;
#   4. when a page driver is given, through the pages as a user would, on a
#      virtual screen: the licence, "just for me", the PATH box ticked, "Run
#      Versemark" unticked, with the same checks as the silent run for the
#      current user; then the uninstaller through its question, answered Yes:
#      the settings and the undo journals go too.
# Usage: tests/windows/check_installer.sh INSTALLER VERSION [PAGE_DRIVER]
set -Eeuo pipefail
trap 'echo "check_installer: line $LINENO failed: $BASH_COMMAND" >&2' ERR
INSTALLER=$1
VERSION=$2
PAGE_DRIVER=${3:-}

UNINSTALL_KEY='Software\Microsoft\Windows\CurrentVersion\Uninstall\Versemark'
ENVIRONMENT_KEY='HKCU\Environment'
SETTINGS_KEY='HKCU\Software\Versemark\Versemark\Tagging'
PUBLISHER='The Versemark developers'

fail() {
    echo "check_installer: $*" >&2
    exit 1
}

# The data of one registry value ("" when it is missing).
reg_value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]*/, ""); print }'
}

# What an install for the current user must leave as it is: the machine's
# registry (its software part) and the machine's program and start-menu folders.
machine_state() {
    local export_file
    export_file=$(mktemp)
    wine reg export 'HKLM\Software' "$(winepath -w "$export_file")" /y >/dev/null 2>&1
    iconv -f UTF-16LE -t UTF-8 "$export_file" | tr -d '\r'
    rm -f "$export_file"
    for folder in 'C:\Program Files' 'C:\Program Files (x86)' 'C:\ProgramData'; do
        find "$(winepath -u "$folder")" -print 2>/dev/null | sort
    done
}

# Fails, showing what changed, when the machine is no longer as $before shows it.
expect_machine_unchanged() {
    local after
    after=$(machine_state)
    if [ "$after" != "$before" ]; then
        diff <(printf '%s\n' "$before") <(printf '%s\n' "$after") | head -n 40 >&2 || true
        fail "$1 changed the machine"
    fi
}

install_silently() {
    wine "$INSTALLER" /S "$@"
    wineserver -w
}

# Uninstalls silently from `folder`; the uninstaller runs as a copy of itself,
# which wineserver -w waits for.
uninstall_silently() {
    wine "$1\\Uninstall.exe" /S
    wineserver -w
}

# 1. For all users; this installation stays, and the steps below must leave it.
install_silently
INSTALLED='C:\Program Files\Versemark'
[ "$(reg_value "HKLM\\$UNINSTALL_KEY" InstallLocation)" = "$INSTALLED" ] || fail "no machine uninstall entry"
[ "$(reg_value "HKLM\\$UNINSTALL_KEY" Publisher)" = "$PUBLISHER" ] || fail "Publisher for all users"
answer=$(wine "$INSTALLED\\versemark-cli.exe" --version | tr -d '\r' | head -n 1)
[ "$answer" = "versemark-cli $VERSION" ] || fail "the installed versemark-cli.exe answered '$answer'"
for name in versemark.exe Uninstall.exe; do
    [ -f "$(winepath -u "$INSTALLED\\$name")" ] || fail "$name not installed"
done
echo "installer: for all users, versemark-cli.exe answers '$answer'"

# 2. For the current user, with the PATH option.
wine reg add "$ENVIRONMENT_KEY" /v Path /t REG_EXPAND_SZ /d 'C:\Tools' /f >/dev/null
wine reg add "$SETTINGS_KEY" /v AlsoId3v2 /t REG_DWORD /d 1 /f >/dev/null
journals=$(winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')\\versemark")
mkdir -p "$journals"
echo kept >"$journals/pass.journal"
before=$(machine_state)
install_silently /CurrentUser /AddToPath
[ "$(machine_state)" = "$before" ] || fail "an install for the current user changed the machine"
folder=$(reg_value "HKCU\\$UNINSTALL_KEY" InstallLocation)
[ -n "$folder" ] || fail "no uninstall entry for the current user"
for name in versemark.exe versemark-cli.exe Uninstall.exe; do
    [ -f "$(winepath -u "$folder\\$name")" ] || fail "$name not installed in $folder"
done
[ "$(reg_value "HKCU\\$UNINSTALL_KEY" Publisher)" = "$PUBLISHER" ] || fail "Publisher"
[ "$(reg_value "HKCU\\$UNINSTALL_KEY" DisplayIcon)" = "$folder\\versemark.exe,0" ] || fail "DisplayIcon"
size=$(reg_value "HKCU\\$UNINSTALL_KEY" EstimatedSize)
[ $((size)) -gt 0 ] || fail "EstimatedSize is '$size'"
[ "$(reg_value "$ENVIRONMENT_KEY" Path)" = "C:\\Tools;$folder" ] || fail "PATH: $(reg_value "$ENVIRONMENT_KEY" Path)"
uninstall_silently "$folder"
[ ! -e "$(winepath -u "$folder")" ] || fail "$folder left after the uninstall"
[ -z "$(reg_value "HKCU\\$UNINSTALL_KEY" InstallLocation)" ] || fail "uninstall entry left"
[ "$(reg_value "$ENVIRONMENT_KEY" Path)" = 'C:\Tools' ] || fail "PATH after the uninstall: $(reg_value "$ENVIRONMENT_KEY" Path)"
[ "$(reg_value "$SETTINGS_KEY" AlsoId3v2)" = 0x1 ] || fail "the silent uninstall removed the settings"
[ -f "$journals/pass.journal" ] || fail "the silent uninstall removed the journals"
[ "$(machine_state)" = "$before" ] || fail "the uninstall for the current user changed the machine"
echo "installer: for the current user, the PATH entry added and removed, settings and journals kept"

# 3. A PATH beyond the installer's strings (1024 characters) is left alone.
long_path="C:\\$(printf 'x%.0s' $(seq 1 1100))"
wine reg add "$ENVIRONMENT_KEY" /v Path /t REG_EXPAND_SZ /d "$long_path" /f >/dev/null
install_silently /CurrentUser /AddToPath
[ "$(reg_value "$ENVIRONMENT_KEY" Path)" = "$long_path" ] || fail "a long PATH was changed by the install"
folder=$(reg_value "HKCU\\$UNINSTALL_KEY" InstallLocation)
uninstall_silently "$folder"
[ "$(reg_value "$ENVIRONMENT_KEY" Path)" = "$long_path" ] || fail "a long PATH was changed by the uninstall"
wine reg delete "$ENVIRONMENT_KEY" /v Path /f >/dev/null
wine reg delete 'HKCU\Software\Versemark' /f >/dev/null
rm -rf "$journals"
echo "installer: a PATH of 1,103 characters left as it was"


# 4. Through the pages, when a page driver was built.
[ -n "$PAGE_DRIVER" ] || exit 0

# Runs PROGRAM on a virtual screen of its own while the page driver works its
# pages with the further arguments; the driver's lines land in $pages. The
# server of the steps above knew no screen: it is let go first. On a failure the
# driver's lines (the last names the page it was stuck on) are shown.
PAGE_TIMEOUT=60
through_pages() {
    local program=$1 status=0
    shift
    wineserver -w
    pages=$(timeout $((PAGE_TIMEOUT * 5)) xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
        program=$1
        shift
        wine "$program" >/dev/null 2>&1 &
        wine "$@" 2>&1
        status=$?
        if [ "$status" -eq 0 ]; then wineserver -w; else wineserver -k; fi
        exit "$status"' sh "$program" "$PAGE_DRIVER" --timeout "$PAGE_TIMEOUT" "$@" |
        tr -d '\r') || status=$?
    if [ "$status" -ne 0 ]; then
        printf '%s\n' "$pages" >&2
        fail "$(basename "$program") through its pages failed (status $status)"
    fi
    printf '%s\n' "$pages" | sed 's/^/  /'
}

# Whether the driver printed a line that begins with $1.
saw() {
    awk -v start="$1" 'index($0, start) == 1 { found = 1 } END { exit !found }' <<<"$pages"
}

wine reg add "$ENVIRONMENT_KEY" /v Path /t REG_EXPAND_SZ /d 'C:\Tools' /f >/dev/null
wine reg add "$SETTINGS_KEY" /v AlsoId3v2 /t REG_DWORD /d 1 /f >/dev/null
mkdir -p "$journals"
echo removed >"$journals/pass.journal"
# The machine as step 2 found it (steps 2 and 3 install for the current user only);
# taking it again would cost some ten seconds.
started=$(date +%s)
echo "installer: through the pages for the current user"
through_pages "$INSTALLER" --title Versemark --title Setup --tick 'Install just for me' \
    --tick 'Add the program folder to my PATH' --untick 'Run Versemark'
for line in 'page: License Agreement | < Back | I Agree | Cancel' \
    'page: Choose Users' '  ticked: Install just for me' 'page: Choose Install Location' \
    'page: Command line' '  ticked: Add the program folder to my PATH' \
    'page: Completing Versemark' '  unticked: Run Versemark' 'closed'; do
    saw "$line" || fail "the installer's pages did not show '$line'"
done
grep -q '^page: Completing .*| \[x\] Run Versemark' <<<"$pages" || fail "the finish page offers no 'Run Versemark'"
expect_machine_unchanged "an install through the pages for the current user"
folder=$(reg_value "HKCU\\$UNINSTALL_KEY" InstallLocation)
profile=$(wine cmd /c 'echo %USERPROFILE%' | tr -d '\r')
[[ "$folder" == "$profile"\\* ]] || fail "installed in '$folder', outside the user's folder $profile"
for name in versemark.exe versemark-cli.exe Uninstall.exe; do
    [ -f "$(winepath -u "$folder\\$name")" ] || fail "$name not installed in $folder"
done
[ "$(reg_value "$ENVIRONMENT_KEY" Path)" = "C:\\Tools;$folder" ] || fail "PATH: $(reg_value "$ENVIRONMENT_KEY" Path)"

echo "installer: the uninstaller through its question, answered Yes"
through_pages "$folder\\Uninstall.exe" --title Versemark --title Uninstall --answer Yes
for line in 'page: Uninstall Versemark' \
    'question: Remove your Versemark settings and the undo journals of your tagging passes as well? Without the journals, passes can no longer be undone. | answered Yes' \
    'closed'; do
    saw "$line" || fail "the uninstaller's pages did not show '$line'"
done
[ ! -e "$(winepath -u "$folder")" ] || fail "$folder left after the uninstall"
[ -z "$(reg_value "HKCU\\$UNINSTALL_KEY" InstallLocation)" ] || fail "uninstall entry left"
[ "$(reg_value "$ENVIRONMENT_KEY" Path)" = 'C:\Tools' ] || fail "PATH after the uninstall: $(reg_value "$ENVIRONMENT_KEY" Path)"
! wine reg query 'HKCU\Software\Versemark' >/dev/null 2>&1 || fail "the settings were kept though the answer was Yes"
[ ! -e "$journals" ] || fail "the journals were kept though the answer was Yes"
expect_machine_unchanged "the uninstall through the pages"
wine reg delete "$ENVIRONMENT_KEY" /v Path /f >/dev/null
echo "installer: through the pages for the current user and back, settings and journals removed ($(($(date +%s) - started)) s)"
