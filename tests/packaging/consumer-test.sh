#!/usr/bin/env bash
# Installs the build tree into a private prefix and builds a small consumer program against
# it twice: through find_package(xmkclient) and through pkg-config. Runs both.
set -euo pipefail
build_dir=$1
source_dir=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build_dir" --prefix "$work/prefix" > /dev/null
libdir=$(ls -d "$work"/prefix/lib*/ | head -n 1)
test -f "$work/prefix/include/xmkclient/xmkclient.h"
readelf -d "$libdir/libxmkclient.so" | grep -q 'SONAME.*libxmkclient.so.1'

cmake -S "$source_dir/consumer" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$work/prefix" \
  > /dev/null
cmake --build "$work/cmake-build" > /dev/null
LD_LIBRARY_PATH="$libdir" "$work/cmake-build/consumer"

export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046
c++ -std=c++17 "$source_dir/consumer/main.cpp" -o "$work/pc-consumer" \
  $(pkg-config --cflags --libs xmkclient)
LD_LIBRARY_PATH="$libdir" "$work/pc-consumer"
