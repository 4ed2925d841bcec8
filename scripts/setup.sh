#!/usr/bin/env bash
# Installs the Debian packages a job needs when they are missing. Safe to run again.
#   setup.sh        the module and the stand-in host (scripts/run.sh)
#   setup.sh test   also the tests, the benchmarks and the formatting check (scripts/test.sh, sanitize.sh)
#   setup.sh fuzz   also clang and its libFuzzer runtime (scripts/fuzz.sh)
set -euo pipefail
pkgs=(cmake ninja-build g++ pkg-config libgeos-dev nlohmann-json3-dev libcgal-dev libmagick++-dev)
case "${1:-}" in
  "") ;;
  test | fuzz)
    pkgs+=(libgtest-dev libgmock-dev libbenchmark-dev libpolyclipping-dev libstb-dev imagemagick libjpeg-turbo-progs
           libimage-exiftool-perl file zlib1g-dev libgdal-dev libshp-dev clang-format)
    [ "$1" = fuzz ] && pkgs+=(clang libclang-rt-14-dev)
    ;;
  *) echo "setup.sh: unknown set '$1' (none, test or fuzz)" >&2; exit 2 ;;
esac
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
