#!/usr/bin/env bash
# The deep fault sweep (not in CI): every action of every example with each host function it calls failing at
# each call n alone and from n on, n = 1 .. LODRAVIX_SWEEP_DEEP_CAP (20), and as many more drawn above the cap from
# the seed. The examples are dealt over LODRAVIX_JOBS processes (4) in an order shuffled from the same seed.
#   bash scripts/sweep-deep.sh [seed]       (figures on stdout, one line per run in $build/sweep-deep.tsv)
# LODRAVIX_SWEEP_FILTER narrows the examples (a gtest filter, e.g. 'Examples/FaultSweep.*/plateau').
# LODRAVIX_SWEEP_DEEP_MINUTES=<m> sweeps each example in a process of its own instead, the short ones first and the
# large projects last, LODRAVIX_JOBS at a time, and starts none after m minutes: those left are named at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${LODRAVIX_BUILD_DIR:-build}
jobs=${LODRAVIX_JOBS:-4}
seed=${1:-${LODRAVIX_SWEEP_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}}
table="$build/sweep-deep.tsv"
logs="$build/sweep-deep-logs"
cmake --build "$build" --target shell_tests -j "$jobs" >/dev/null
rm -f "$table" "$table".* && mkdir -p "$logs" && rm -f "$logs"/*.log
echo "deep fault sweep: seed $seed, $jobs processes, cap ${LODRAVIX_SWEEP_DEEP_CAP:-20}"
start=$(date +%s)
failed=0
if [ -n "${LODRAVIX_SWEEP_DEEP_MINUTES:-}" ]; then
    # The examples whose projects are large last, the rest by their length.
    large="sosi_terrain main_road shapefile_terrain main_road_large"
    order=$(for f in examples/*.script; do
        name=$(basename "$f" .script)
        rank=0
        for l in $large; do
            rank=$((rank + 1))
            [ "$name" = "$l" ] && echo "$((100000 * rank)) $name" && continue 2
        done
        echo "$(wc -l <"$f") $name"
    done | sort -n | awk '{ print $2 }')
    export LODRAVIX_SWEEP_FORMS=deep LODRAVIX_SWEEP_SEED=$seed
    export build table logs start
    export budget=$((LODRAVIX_SWEEP_DEEP_MINUTES * 60))
    # shellcheck disable=SC2016
    printf '%s\n' $order | xargs -P "$jobs" -I{} bash -c '
        if [ $(($(date +%s) - start)) -ge "$budget" ]; then echo {} >>"$logs/left.txt"; exit 0; fi
        t0=$(date +%s)
        LODRAVIX_SWEEP_TABLE="$PWD/$table.{}" "$build/bin/shell_tests" \
            --gtest_filter="Examples/FaultSweep.*/{}" >"$logs/{}.log" 2>&1
        rc=$?
        echo "{} $(($(date +%s) - t0)) s, rc $rc" >>"$logs/times.txt"
        exit 0' || failed=1
    if [ -f "$logs/left.txt" ]; then echo "not swept (over $LODRAVIX_SWEEP_DEEP_MINUTES minutes):" $(cat "$logs/left.txt"); fi
    grep -l "FAILED" "$logs"/*.log >/dev/null 2>&1 && failed=1
else
    for group in $(seq 1 "$jobs"); do
        LODRAVIX_SWEEP_FORMS=deep LODRAVIX_SWEEP_SEED=$seed LODRAVIX_SWEEP_GROUP=$group/$jobs \
            LODRAVIX_SWEEP_TABLE="$PWD/$table.$group" "$build/bin/shell_tests" --gtest_filter="${LODRAVIX_SWEEP_FILTER:-Examples/FaultSweep.*}" \
            >"$logs/group$group.log" 2>&1 &
    done
    for job in $(jobs -p); do wait "$job" || failed=1; done
fi
cat "$table".* >"$table" 2>/dev/null || true
rm -f "$table".*
echo "runs: $(wc -l <"$table"), in $(($(date +%s) - start)) s"
echo "outcomes:"
awk -F'\t' '$4 == "clean" { sub(/   .*/, "", $5); n[$5]++ } END { for (o in n) printf "  %7d %s\n", n[o], o }' \
    "$table" | sort -rn
echo "faults: $(awk -F'\t' '$4 == "fault"' "$table" | wc -l) (see $logs/)"
exit "$failed"
