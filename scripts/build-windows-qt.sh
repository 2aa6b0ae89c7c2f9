#!/usr/bin/env bash
# Builds a static, release Qt 5.15 for x86_64-w64-mingw32 from Debian's own
# Qt source, once, into a cache outside the work tree, and prints its prefix.
#
#   scripts/build-windows-qt.sh            build if missing, print the prefix
#   QT_WINDOWS_PREFIX=/path scripts/...    use an existing Qt instead
#
# The cache key is the Qt source version and the configure line, so a changed
# line builds anew beside the old one.
set -euo pipefail

if [[ -n "${QT_WINDOWS_PREFIX:-}" ]]; then
    [[ -f "$QT_WINDOWS_PREFIX/lib/cmake/Qt5/Qt5Config.cmake" ]] || {
        echo "build-windows-qt: $QT_WINDOWS_PREFIX holds no Qt5 CMake package" >&2
        exit 1
    }
    echo "$QT_WINDOWS_PREFIX"
    exit 0
fi

source_package=qtbase-opensource-src
configure_options=(
    -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
    -opensource -confirm-license -release -static -static-runtime
    -nomake examples -nomake tests
    -no-opengl -no-direct2d -no-dbus -no-icu -no-openssl -no-vulkan
    -no-feature-sql -no-sql-sqlite -no-feature-testlib -no-feature-xml
    -no-feature-concurrent -no-feature-printer -no-feature-tabletevent
    -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz
    -qt-doubleconversion
)

cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/converter-config"
mkdir -p "$cache_root"

# The posix thread model: GCC 12's win32 model has no std::mutex.
toolbin="$cache_root/mingw-posix-bin"
mkdir -p "$toolbin"
for tool in gcc g++; do
    ln -sf "/usr/bin/x86_64-w64-mingw32-$tool-posix" "$toolbin/x86_64-w64-mingw32-$tool"
done
export PATH="$toolbin:$PATH"

# Debian's source, fetched with a private sources list and apt state, so the
# machine's own apt configuration is not changed.
apt_dir="$cache_root/apt"
apt_options=(
    -o "Dir::Etc::SourceList=$apt_dir/sources.list"
    -o "Dir::Etc::SourceParts=-"
    -o "Dir::State=$apt_dir/state"
    -o "Dir::Cache=$apt_dir/cache"
    -o "Debug::NoLocking=1"
)
fetch_source() {
    mkdir -p "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial"
    echo "deb-src http://deb.debian.org/debian bookworm main" >"$apt_dir/sources.list"
    apt-get "${apt_options[@]}" update -q >&2
    (cd "$apt_dir" && apt-get "${apt_options[@]}" source -q --download-only "$source_package" >&2)
}

dsc=$(ls "$apt_dir"/${source_package}_*.dsc 2>/dev/null | tail -n1 || true)
if [[ -z "$dsc" ]]; then
    fetch_source
    dsc=$(ls "$apt_dir"/${source_package}_*.dsc | tail -n1)
fi
version=$(basename "$dsc" .dsc)
version=${version#${source_package}_}
key=$(printf '%s\n' "$version" "${configure_options[@]}" | sha256sum | cut -c1-12)
prefix="$cache_root/qt-$version-mingw64-static-$key"

if [[ -f "$prefix/.complete" ]]; then
    echo "$prefix"
    exit 0
fi

work="$cache_root/work-$key"
rm -rf "$work" "$prefix"
mkdir -p "$work"
echo "build-windows-qt: building Qt $version for Windows into $prefix (about 16 minutes on 2 cores)" >&2
# dpkg-source applies Debian's patch series.
(cd "$work" && dpkg-source -x "$dsc" src >&2)
mkdir -p "$work/build"
(
    cd "$work/build"
    ../src/configure -prefix "$prefix" "${configure_options[@]}" >&2
    make -j"${JOBS:-2}" >&2
    make install >&2
)
printf '%s\n' "$version" "${configure_options[@]}" >"$prefix/configure-line.txt"
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
