#!/usr/bin/env bash
# Installs the Debian packages the build needs, asking dpkg first so that a
# machine that already has them pays nothing.
#   scripts/deps.sh        everything: the build, the tests and the benchmarks
#   scripts/deps.sh demo   only what the two libraries and orvane-host need
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache pkg-config
  nlohmann-json3-dev libplist-dev libcairo2-dev libpng-dev libpango1.0-dev fonts-noto-cjk fonts-noto-color-emoji libicu-dev
)
if [[ "${1:-}" != "demo" ]]; then
  # The examples' JSON reader and the Python package's tests run in the install check.
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev libcjson-dev python3)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "deps: installing ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq || true
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
