#!/usr/bin/env bash
# Installs the built tree into a temporary prefix and uses it the way a host
# developer would: the C examples built with CMake (one linked, one loading the
# library with dlopen) and with pkg-config, the Python package's tests and the
# Python example, each run against the installed libraries. Fails when the
# install leaks a path of the checkout or a library lacks its soname.
#   scripts/check-install.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" > /dev/null
libdir=$(dirname "$(find "$prefix" -name 'libOrvaneNative.so' | head -1)")

if grep -rIl -- "$root" "$prefix" > /dev/null 2>&1 || \
   find "$prefix" -type f -exec strings {} + 2>/dev/null | grep -q -- "$root"; then
  echo "installed files name the checkout ($root):"; grep -rIl -- "$root" "$prefix" || true
  exit 1
fi
for lib in libOrvaneNative libOrvaneDesktop; do
  soname=$(readelf -d "$libdir/$lib.so" | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')
  [ "$soname" = "$lib.so.0" ] || { echo "$lib has soname '$soname'"; exit 1; }
done
exported=$(nm -D --defined-only "$libdir/libOrvaneNative.so" | awk '{print $3}' | grep -v '^$' | sort | tr '\n' ' ')
[ "$exported" = "orvane_call orvane_free " ] || { echo "libOrvaneNative exports: $exported"; exit 1; }

echo "== example host, CMake package"
cmake -S examples/c -B "$work/cmake-example" -DCMAKE_PREFIX_PATH="$prefix" > /dev/null
cmake --build "$work/cmake-example" > /dev/null
"$work/cmake-example/example-host" > "$work/cmake.out"
grep -q '^event: error ' "$work/cmake.out" || { cat "$work/cmake.out"; echo "no error event drained"; exit 1; }

echo "== example host loading the library with dlopen"
if readelf -d "$work/cmake-example/example-dlopen-host" | grep -q 'NEEDED.*libOrvaneNative'; then
  echo "example-dlopen-host links libOrvaneNative instead of loading it"; exit 1
fi
"$work/cmake-example/example-dlopen-host" > "$work/dlopen.out" || { cat "$work/dlopen.out"; exit 1; }

echo "== example host, pkg-config"
examples/c/build-with-pkg-config.sh "$prefix" "$work/pkg-example"
"$work/pkg-example" > /dev/null

echo "== Python package, installed"
# The installed package finds the libraries beside itself: no folder given.
pythonpath=$(dirname "$(find "$prefix" -type d -name orvane -path '*/python/orvane' | head -1)")
PYTHONPATH="$pythonpath" python3 -m unittest discover -s python/tests
PYTHONPATH="$pythonpath" python3 examples/python/host.py > "$work/python.out"
grep -q '"kind": "error"' "$work/python.out" || { cat "$work/python.out"; echo "no error event drained"; exit 1; }

echo "== orvane-host installed"
echo '{"command":"snapshot"}' | "$prefix/bin/orvane-host" --virtual | grep -q '"ok":true'
echo "install check passed"
