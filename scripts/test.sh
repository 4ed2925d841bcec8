#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite (unit tests and example scripts).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Formatting (clang-format with .clang-format): turned on once the tree has been formatted in one go.
# bash scripts/check-format.sh
bash scripts/build.sh
build=${LODRAVIX_BUILD_DIR:-build}
ctest --test-dir "$build" --output-on-failure -j "${LODRAVIX_JOBS:-$(nproc)}"
