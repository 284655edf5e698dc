#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds the .deb, checking that the program,
# its desktop entry and its icons land in their standard places.
#   check-install.sh BUILD_DIR
set -euo pipefail
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/usr" >/dev/null
expected=(
    usr/bin/Vantrel
    usr/share/applications/vantrel.desktop
    usr/share/icons/hicolor/16x16/apps/vantrel.png
    usr/share/icons/hicolor/32x32/apps/vantrel.png
    usr/share/icons/hicolor/48x48/apps/vantrel.png
    usr/share/icons/hicolor/64x64/apps/vantrel.png
    usr/share/icons/hicolor/128x128/apps/vantrel.png
    usr/share/icons/hicolor/256x256/apps/vantrel.png
)
failures=0
for f in "${expected[@]}"; do
    if [ -e "$work/$f" ]; then echo "ok: installs $f"; else echo "MISSING: $f"; failures=$((failures + 1)); fi
done
[ -x "$work/usr/bin/Vantrel" ] || { echo "NOT EXECUTABLE: bin/Vantrel"; failures=$((failures + 1)); }
"$work/usr/bin/Vantrel" --version | grep -qx 'Vantrel 1.00' || { echo "WRONG: --version"; failures=$((failures + 1)); }
desktop-file-validate "$work/usr/share/applications/vantrel.desktop" && echo "ok: desktop entry is valid" ||
    failures=$((failures + 1))

(cd "$work" && cpack --config "$(realpath "$build")/CPackConfig.cmake" -G DEB >/dev/null)
deb=$(ls "$work"/vantrel_*.deb)
contents=$(dpkg-deb -c "$deb")
for f in "${expected[@]}"; do
    grep -q "\./$f\$" <<<"$contents" || { echo "NOT IN THE PACKAGE: $f"; failures=$((failures + 1)); }
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libqt6serialport6' <<<"$depends" && echo "ok: depends on $depends" ||
    { echo "WRONG DEPENDS: $depends"; failures=$((failures + 1)); }
[ "$(dpkg-deb -f "$deb" Package)" = vantrel ] || { echo "WRONG PACKAGE NAME"; failures=$((failures + 1)); }

echo "$failures failed"
[ "$failures" -eq 0 ]
