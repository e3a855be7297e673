#!/usr/bin/env bash
# Shared by ./run, ./test and ./package: install what is missing, then configure and build in build/.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsdl2-mixer-dev libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  xvfb xauth fonts-dejavu-core
  desktop-file-utils appstream lintian dpkg-dev man-db
)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build() {
  local type="${1:-RelWithDebInfo}"
  cmake -S . -B build -DCMAKE_BUILD_TYPE="$type" >/dev/null
  cmake --build build -j"$(nproc)"
}
