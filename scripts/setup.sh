#!/usr/bin/env bash
# Installs what the build, the tests and the benchmarks need (Debian packages). Safe to run again.
set -euo pipefail
pkgs=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev libgeos-dev nlohmann-json3-dev libcgal-dev
      libpolyclipping-dev libmagick++-dev libstb-dev imagemagick libjpeg-turbo-progs libimage-exiftool-perl file zlib1g-dev libgdal-dev libshp-dev clang-format)
# `setup.sh fuzz` adds what scripts/fuzz.sh needs: clang and its libFuzzer runtime.
[ "${1:-}" = fuzz ] && pkgs+=(clang libclang-rt-14-dev)
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
