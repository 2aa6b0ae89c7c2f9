#!/usr/bin/env bash
# Cross-builds the Windows programs into build-windows/ against a static Qt
# (built once by build-windows-qt.sh, or named by QT_WINDOWS_PREFIX), and
# writes dist/converter-config-VERSION-windows-x64.zip and the installer
# dist/converter-config-VERSION-windows-x64-setup.exe (DIST names another
# folder). With SIGN_PKCS12 (and SIGN_PASSWORD, SIGN_TIMESTAMP) both
# programs, the installer and its uninstaller are signed with osslsigncode.
#   scripts/build-windows.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows}
version=$(sed -n 's/^project(ConverterConfig VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

prefix=$(scripts/build-windows-qt.sh)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$prefix" \
    -DQt5LinguistTools_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt5LinguistTools \
    -DCONVERTER_BUILD_TESTS=OFF -DCONVERTER_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"${JOBS:-2}"
x86_64-w64-mingw32-strip "$build"/bin/*.exe

# The zip: the programs, the README, our licence, and what the LGPL asks of a
# program linked statically with Qt.
stage=$build/zip/converter-config-$version-windows-x64
rm -rf "$build/zip"
dist=${DIST:-dist}
mkdir -p "$stage" "$dist"
dist=$(cd "$dist" && pwd)
cp "$build"/bin/converter-config.exe "$build"/bin/converter-cli.exe "$stage/"
# Copies are signed, so that the build's own programs stay as linked.
for exe in "$stage"/*.exe; do scripts/sign-windows.sh "$exe"; done
cp README.md README.zh-CN.md "$stage/"
# The Wireshark dissector, for %APPDATA%\Wireshark\plugins.
cp tools/wireshark/convcfg.lua "$stage/"
mkdir -p "$stage/docs/zh-CN"
cp docs/*.md "$stage/docs/"
cp docs/zh-CN/*.md "$stage/docs/zh-CN/"
# The program's icon at every size Windows shows (16 to 256, square), for
# the installer, the uninstaller, the Start-menu entry and Apps & features.
python3 scripts/make-icons.py --windows-icon "$stage/converter-config.ico"
cp LICENSE "$stage/LICENSE.txt"
cp /usr/share/common-licenses/LGPL-3 "$stage/LGPL-3.txt"
cp /usr/share/common-licenses/GPL-3 "$stage/GPL-3.txt"
sed -e "s|@QT_CONFIGURE@|$(tail -n +2 "$prefix/configure-line.txt" | tr '\n' ' ')|" \
    -e "s|@QT_VERSION@|$(head -n 1 "$prefix/configure-line.txt")|" \
    packaging/windows-qt-notice.txt >"$stage/QT-LICENSE-NOTICE.txt"
(cd "$build/zip" && rm -f "$dist/converter-config-$version-windows-x64.zip" &&
    zip -q -X -r "$dist/converter-config-$version-windows-x64.zip" "$(basename "$stage")")
echo "build-windows: $dist/converter-config-$version-windows-x64.zip"

# The installer: the same files, a licence page with our licence and the Qt
# notes, and the helper that edits PATH.
installer=$build/installer
mkdir -p "$installer"
{
    cat "$stage/LICENSE.txt"
    printf '\n\n'
    cat "$stage/QT-LICENSE-NOTICE.txt"
} >"$installer/licence.txt"
x86_64-w64-mingw32-gcc -municode -O2 -Wall -Wextra -s -o "$installer/pathentry.exe" \
    packaging/windows/pathentry.c
x86_64-w64-mingw32-gcc -municode -O2 -Wall -Wextra -s -o "$installer/uninstall.exe" \
    packaging/windows/uninstall.c
scripts/sign-windows.sh "$installer/uninstall.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$PWD/$stage" \
    -DOUTFILE="$dist/converter-config-$version-windows-x64-setup.exe" -DSIGN="$PWD/scripts/sign-windows.sh" \
    -DICON="$PWD/$stage/converter-config.ico" -DLICENSE="$PWD/$installer/licence.txt" \
    -DPATHENTRY="$PWD/$installer/pathentry.exe" -DUNINSTALLWAIT="$PWD/$installer/uninstall.exe" \
    packaging/windows/installer.nsi
echo "build-windows: $dist/converter-config-$version-windows-x64-setup.exe"

# The Windows Installer package, for Group Policy and Intune, from the same
# files and with the same PATH helper.
msi=$dist/converter-config-$version-windows-x64.msi
python3 scripts/make-msi.py "$stage" "$installer/pathentry.exe" "$version" "$msi"
scripts/sign-windows.sh "$msi"
echo "build-windows: $msi"
