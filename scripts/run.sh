#!/usr/bin/env bash
# Sets up, builds, and runs the stand-in host on the shipped start-up example.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
build=${LODRAVIX_BUILD_DIR:-build}
"$build/bin/standin-host" --module "$build/bin/liblodravix.so" --script "${1:-examples/startup.script}" --temp-user-folder
