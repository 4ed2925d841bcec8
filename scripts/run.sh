#!/usr/bin/env bash
# Sets up, builds the module and the stand-in host (no tests), and runs the main road: a window of the real grid
# imported, outlined and meshed with its contour lines, a road and a plateau on it, the volume calculation, a
# short summary, and the plan as build/main_road/main_road.svg. Another script can be given as the first argument.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=${LODRAVIX_BUILD_DIR:-build}
jobs=${LODRAVIX_JOBS:-$(nproc)}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs" --target lodravix standin-host
# A kept user folder: the plan the script draws is left there.
mkdir -p "$build/main_road"
"$build/bin/standin-host" --module "$build/bin/liblodravix.so" --script "${1:-examples/main_road.script}" \
    --user-folder "$build/main_road"
echo "The plan: $build/main_road/main_road.svg"
