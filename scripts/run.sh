#!/usr/bin/env bash
# Sets up, builds the module and the stand-in host (no tests), and runs the main road: a window of the real grid
# imported, outlined and meshed with its contour lines, a road and a plateau on it, the volume calculation and a
# short summary. Another script can be given as the first argument.
#
# Every run starts from a fresh user folder (what one script leaves there, such as a language, never reaches the
# next run); only the pictures the script drew are kept, in build/<script name>/.
set -euo pipefail
cd "$(dirname "$0")/.."
script=${1:-examples/main_road.script}
[ -f "$script" ] || { echo "run.sh: no script file '$script'" >&2; exit 2; }
bash scripts/setup.sh
build=${LODRAVIX_BUILD_DIR:-build}
jobs=${LODRAVIX_JOBS:-$(nproc)}
# A first configuration leaves out the tests and the benchmarks (their packages come with scripts/test.sh);
# a build folder configured before keeps its choice.
options=()
[ -f "$build/CMakeCache.txt" ] || options=(-DLODRAVIX_TESTS=OFF -DLODRAVIX_BENCH=OFF)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build "$build" -j "$jobs" --target lodravix standin-host lodravix_data

name=$(basename "$script" .script)
out="$build/$name"
user=$(mktemp -d /tmp/lodravix-run-XXXXXX)
trap 'rm -rf "$user"' EXIT
status=0
"$build/bin/standin-host" --module "$build/bin/liblodravix.so" --script "$script" --user-folder "$user" --quiet ||
    status=$?
rm -rf "$out"
shopt -s nullglob
plans=("$user"/*.svg)
if [ ${#plans[@]} -gt 0 ]; then
  mkdir -p "$out"
  for plan in "${plans[@]}"; do
    cp "$plan" "$out/"
    echo "The plan: $out/$(basename "$plan")"
  done
fi
exit $status
