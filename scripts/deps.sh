#!/usr/bin/env bash
# Installs the Debian packages the build needs, asking dpkg first so that a
# machine that already has them pays nothing.
#   scripts/deps.sh        everything: the build, the tests and the benchmarks
#   scripts/deps.sh demo   only what the two libraries and orvane-host need
#                          (orvane-host --serve: civetweb)
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache pkg-config
  nlohmann-json3-dev libplist-dev libcairo2-dev libpng-dev libpango1.0-dev fonts-noto-cjk fonts-noto-color-emoji libicu-dev
  libcivetweb-dev
)
if [[ "${1:-}" != "demo" ]]; then
  # The examples' JSON reader and the Python package's tests run in the install check.
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev libcjson-dev python3)
  # The playground's browser tests: Debian's Chromium driven by Playwright (npm).
  packages+=(chromium)
  command -v node > /dev/null || packages+=(nodejs)
  command -v npm > /dev/null || packages+=(npm)
fi

# Playwright for the browser tests, at the version tests/play/package-lock.json pins.
play_modules() {
  [[ "${1:-}" == "demo" ]] && return 0
  local folder
  folder="$(cd "$(dirname "$0")/.." && pwd)/tests/play"
  [[ -f "$folder/node_modules/playwright-core/package.json" && "$folder/node_modules/.package-lock.json" -nt "$folder/package-lock.json" ]] && return 0
  echo "deps: npm ci in tests/play"
  (cd "$folder" && npm ci --no-audit --no-fund --loglevel=error)
}

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  play_modules "${1:-}"
  exit 0
fi

echo "deps: installing ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq || true
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
play_modules "${1:-}"
