#!/usr/bin/env bash
# The installer under Wine, silently: it installs Vantrel.exe with its Start-menu entry and
# uninstaller, the installed program runs, and the uninstaller takes all of it away again.
#   installer-under-wine.sh WINDOWS_BUILD      (run by tests/windows/run-tests)
set -euo pipefail
build=$1
: "${WINEPREFIX:?run through tests/windows/run-tests}"
installer=$(ls "$build"/Vantrel-*-windows-x64.exe)
folder="$WINEPREFIX/drive_c/Program Files/Vantrel"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vantrel"
failures=0
check() {
    if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi
}

wine "$installer" /S
check "installs Vantrel.exe" '[ -f "$folder/Vantrel.exe" ]'
check "installs the licence and readme" '[ -f "$folder/LICENSE.txt" ] && [ -f "$folder/README.txt" ]'
check "puts Vantrel in the Start menu" '[ -f "$menu/Vantrel.lnk" ]'
check "registers an uninstaller" \
    'wine reg query "HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel" >/dev/null 2>&1'
check "the installed program runs" \
    '[ "$(wine "$folder/Vantrel.exe" --version 2>/dev/null | tr -d "\r")" = "Vantrel 1.00" ]'

# The uninstaller hands its work to a copy of itself and returns at once.
wine "$folder/Uninstall.exe" /S
for _ in $(seq 300); do
    [ -e "$folder/Vantrel.exe" ] || [ -e "$menu/Vantrel.lnk" ] || break
    sleep 0.1
done
sleep 1 # the copy's last steps
check "uninstalls Vantrel.exe" '[ ! -e "$folder/Vantrel.exe" ]'
check "takes the Start-menu entry away" '[ ! -e "$menu/Vantrel.lnk" ]'
check "unregisters" \
    '! wine reg query "HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel" >/dev/null 2>&1'
echo "$failures failed"
[ "$failures" -eq 0 ]
