#!/usr/bin/env bash
# Builds the example host against an installed OrvaneNative with pkg-config:
#   examples/c/build-with-pkg-config.sh <prefix> <output>
set -euo pipefail
prefix=$1
output=$2
libdir=$(PKG_CONFIG_PATH="$(find "$prefix" -type d -name pkgconfig | head -1)" pkg-config --variable=libdir orvane-native)
export PKG_CONFIG_PATH="$libdir/pkgconfig"
cc -std=c11 -Wall -Wextra -o "$output" "$(dirname "$0")/host.c" \
   $(pkg-config --cflags --libs orvane-native orvane-desktop) -pthread -Wl,-rpath,"$libdir"
