#!/usr/bin/env bash
# Installs the Debian packages the build, tests, benchmarks and demo need; installs only
# what is missing, so a second run is quick.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang
  libcurl4-openssl-dev libxml2-dev libzip-dev
  libgtest-dev libgmock-dev libcpp-httplib-dev
  libbenchmark-dev rapidjson-dev libsqlite3-dev
  openssl libssl-dev python3-zeep
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
