#!/usr/bin/env bash
# Configures and builds into build/ (or $LODRAVIX_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${LODRAVIX_BUILD_DIR:-build}
jobs=${LODRAVIX_JOBS:-$(nproc)}
# LODRAVIX_BENCH=OFF leaves the benchmarks out (.ci/run: no test runs them).
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLODRAVIX_TESTS=ON \
  -DLODRAVIX_BENCH="${LODRAVIX_BENCH:-ON}" >/dev/null
cmake --build "$build" -j "$jobs"
