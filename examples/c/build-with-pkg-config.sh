#!/usr/bin/env bash
# Builds the example host against an installed OrvaneNative with pkg-config:
#   examples/c/build-with-pkg-config.sh <prefix> <output>
set -euo pipefail
prefix=$1
output=$2
here=$(dirname "$0")
libdir=$(PKG_CONFIG_PATH="$(find "$prefix" -type d -name pkgconfig | head -1)" pkg-config --variable=libdir orvane-native)
export PKG_CONFIG_PATH="$libdir/pkgconfig"
cc -std=c11 -Wall -Wextra -o "$output" "$here/host.c" "$here/reply.c" \
   $(pkg-config --cflags --libs orvane-native orvane-desktop libcjson) -pthread -Wl,-rpath,"$libdir"
