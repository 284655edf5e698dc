#!/usr/bin/env bash
# Reads the Windows resources back with the MinGW resource compiler and checks the version
# record field by field and the icon's three images: those of Vantrel.exe itself, or of the
# resource file compiled on its own.
#   check-windows-resource.sh Vantrel.exe
#   check-windows-resource.sh RC_FILE ICON_DIR
# RC_FILE is the resource as CMake configured it, with the project's version filled in.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ $# -eq 1 ]; then
    x86_64-w64-mingw32-windres -i "$1" -O rc -o "$work/read-back.rc"
else
    x86_64-w64-mingw32-windres --preprocessor=cpp -I "$2" "$1" -O res -o "$work/vantrel.res"
    x86_64-w64-mingw32-windres -i "$work/vantrel.res" -O rc -o "$work/read-back.rc"
fi

failures=0
expect() {
    if grep -qF -- "$1" "$work/read-back.rc"; then
        echo "ok: $1"
    else
        echo "MISSING: $1"
        failures=$((failures + 1))
    fi
}
expect_none() {
    if grep -qE -- "$1" "$work/read-back.rc"; then
        echo "UNEXPECTED: $1"
        failures=$((failures + 1))
    else
        echo "ok: no $1"
    fi
}

expect 'FILEVERSION 1, 0, 0, 0'
expect 'PRODUCTVERSION 1, 0, 0, 0'
expect 'FILETYPE 0x1'
expect_none '^ *FILEFLAGS '     # an application with no flags set
expect_none '^ *FILESUBTYPE '
expect 'BLOCK "040904B0"'
expect 'VALUE "FileVersion", "1.00"'
expect 'VALUE "ProductVersion", "1.00"'
expect 'VALUE "ProductName", "Vantrel"'
expect 'VALUE "InternalName", "Vantrel"'
expect 'VALUE "OriginalFilename", "Vantrel.exe"'
expect 'VALUE "Translation", 0x409, 1200'
values=$(grep -c 'VALUE "' "$work/read-back.rc")
if [ "$values" -ne 6 ]; then
    echo "WRONG: $values values, not 6"
    failures=$((failures + 1))
fi

# The group icon: width height colours, planes, bits per pixel.
expect 'Has 3 elements.'
expect '"\040\040\002\000", 1, 1,'  # 32x32, 2 colours
expect '"\040\040\020\000", 1, 4,'  # 32x32, 16 colours
expect '"\020\020\020\000", 1, 4,'  # 16x16, 16 colours

echo "$failures failed"
[ "$failures" -eq 0 ]
