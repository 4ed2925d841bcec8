#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite (unit tests and example scripts).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
# Formatting first: clang-format with the repository's .clang-format (scripts/check-format.sh --fix mends it).
bash scripts/check-format.sh
bash scripts/build.sh
build=${LODRAVIX_BUILD_DIR:-build}
ctest --test-dir "$build" --output-on-failure -j "${LODRAVIX_JOBS:-$(nproc)}"
