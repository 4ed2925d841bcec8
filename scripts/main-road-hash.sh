#!/usr/bin/env bash
# A hash over the results of the main road at 10^4 points: examples/main_road_large.script run with the project
# dumped as JSON after the import, the terrain, the road, the plateau and the volume calculation, and its plan as
# SVG; prints each file's SHA-256 and one over them all. A change that must keep every result keeps this hash.
# The plan's triangles are those the solid operations leave on the terrain, and CGAL's corefinement tells equal
# boxes apart by their addresses: a change in what the host allocates before it (a member added, a solid kept) can
# number them otherwise and change main_road_large.svg alone, the dumps (the volumes exact) keeping theirs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${LODRAVIX_BUILD_DIR:-build}
out=$(mktemp -d /tmp/main-road-hash-XXXXXX)
trap 'rm -rf "$out"' EXIT
awk -v data="$root/examples/data/" '
/^expect elements 10000 hotspot/ {print; print "dump d1_import.json"; next}
/^name T mesh/ {print; print "dump d2_terrain.json"; next}
/^expect param ROAD operatore/ {print; print "dump d3_road.json"; next}
/^expect param PLAT livello/ {print; print "dump d4_plateau.json"; next}
/^summary T CL/ {print; print "dump d5_volume.json"; next}
{sub(/data\//, data); print}' examples/main_road_large.script > "$out/main_road_hash.script"
"$build/bin/standin-host" --module "$build/bin/liblodravix.so" --script "$out/main_road_hash.script" \
    --user-folder "$out/user" > "$out/log.txt" || { tail -20 "$out/log.txt"; exit 1; }
cd "$out/user"
sha256sum d1_import.json d2_terrain.json d3_road.json d4_plateau.json d5_volume.json main_road_large.svg
cat d1_import.json d2_terrain.json d3_road.json d4_plateau.json d5_volume.json main_road_large.svg | sha256sum |
    sed 's/-$/all/'
