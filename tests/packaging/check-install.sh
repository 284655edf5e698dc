#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds the .deb, checking that the program,
# its desktop entry, icons, manual, AppStream data and copyright land in their standard
# places, that every one of them carries the project's one version, and that Debian's own
# checks (lintian, desktop-file-validate, appstreamcli) find nothing to say.
#   check-install.sh BUILD_DIR VERSION_TEXT PACKAGE_VERSION
set -euo pipefail
build="$1"
version_text="$2"
package_version="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/usr" >/dev/null
expected=(
    usr/bin/Vantrel
    usr/bin/vantrel-glove-sim
    usr/share/applications/vantrel.desktop
    usr/share/icons/hicolor/16x16/apps/vantrel.png
    usr/share/icons/hicolor/32x32/apps/vantrel.png
    usr/share/icons/hicolor/48x48/apps/vantrel.png
    usr/share/icons/hicolor/64x64/apps/vantrel.png
    usr/share/icons/hicolor/128x128/apps/vantrel.png
    usr/share/icons/hicolor/256x256/apps/vantrel.png
    usr/share/man/man1/Vantrel.1.gz
    usr/share/man/man1/vantrel-glove-sim.1.gz
    usr/share/metainfo/com.vantrel.Vantrel.metainfo.xml
    usr/share/doc/vantrel/copyright
    usr/share/doc/vantrel/changelog.gz
)
failures=0
for f in "${expected[@]}"; do
    if [ -e "$work/$f" ]; then echo "ok: installs $f"; else echo "MISSING: $f"; failures=$((failures + 1)); fi
done
[ -x "$work/usr/bin/Vantrel" ] || { echo "NOT EXECUTABLE: bin/Vantrel"; failures=$((failures + 1)); }
"$work/usr/bin/Vantrel" --version | grep -qx "Vantrel $version_text" && echo "ok: --version" ||
    { echo "WRONG: --version"; failures=$((failures + 1)); }
zcat "$work/usr/share/man/man1/Vantrel.1.gz" | grep -q "\"Vantrel $version_text\"" &&
    echo "ok: the manual's version" || { echo "WRONG: the manual's version"; failures=$((failures + 1)); }
desktop-file-validate "$work/usr/share/applications/vantrel.desktop" && echo "ok: desktop entry is valid" ||
    failures=$((failures + 1))
# The screenshot's address cannot be fetched from here; everything else is checked.
appstreamcli validate --no-net --pedantic "$work/usr/share/metainfo/com.vantrel.Vantrel.metainfo.xml" >/dev/null &&
    echo "ok: AppStream data is valid" ||
    { appstreamcli validate --no-net "$work/usr/share/metainfo/com.vantrel.Vantrel.metainfo.xml"; failures=$((failures + 1)); }

(cd "$work" && cpack --config "$(realpath "$build")/CPackConfig.cmake" -G DEB >/dev/null)
deb=$(ls "$work"/vantrel_*.deb)
contents=$(dpkg-deb -c "$deb")
for f in "${expected[@]}"; do
    grep -q "\./$f\$" <<<"$contents" || { echo "NOT IN THE PACKAGE: $f"; failures=$((failures + 1)); }
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libqt6serialport6' <<<"$depends" && grep -q 'libxtst6' <<<"$depends" && echo "ok: depends on $depends" ||
    { echo "WRONG DEPENDS: $depends"; failures=$((failures + 1)); }
[ "$(dpkg-deb -f "$deb" Package)" = vantrel ] || { echo "WRONG PACKAGE NAME"; failures=$((failures + 1)); }
[ "$(dpkg-deb -f "$deb" Version)" = "$package_version" ] && echo "ok: package version" ||
    { echo "WRONG PACKAGE VERSION"; failures=$((failures + 1)); }
dpkg-deb -x "$deb" "$work/unpacked"
file "$work/unpacked/usr/bin/Vantrel" | grep -q ', stripped' && echo "ok: the binary is stripped" ||
    { echo "NOT STRIPPED"; failures=$((failures + 1)); }
# Lintian's errors and warnings fail the check; its informational notes do not.
if lintian --fail-on error,warning "$deb"; then
    echo "ok: lintian has nothing to say"
else
    failures=$((failures + 1))
fi

echo "$failures failed"
[ "$failures" -eq 0 ]
