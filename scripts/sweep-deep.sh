#!/usr/bin/env bash
# The deep fault sweep (not in CI): every action of every example with each host function it calls failing at
# each call n alone and from n on, n = 1 .. LODRAVIX_SWEEP_DEEP_CAP (20), and as many more drawn above the cap from
# the seed. The examples are dealt over LODRAVIX_JOBS processes (4) in an order shuffled from the same seed.
#   bash scripts/sweep-deep.sh [seed]       (figures on stdout, one line per run in $build/sweep-deep.tsv)
# LODRAVIX_SWEEP_FILTER narrows the examples (a gtest filter, e.g. 'Examples/FaultSweep.*/plateau').
set -euo pipefail
cd "$(dirname "$0")/.."
build=${LODRAVIX_BUILD_DIR:-build}
jobs=${LODRAVIX_JOBS:-4}
seed=${1:-${LODRAVIX_SWEEP_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}}
table="$build/sweep-deep.tsv"
logs="$build/sweep-deep-logs"
cmake --build "$build" --target shell_tests -j "$jobs" >/dev/null
rm -f "$table" && mkdir -p "$logs"
echo "deep fault sweep: seed $seed, $jobs processes, cap ${LODRAVIX_SWEEP_DEEP_CAP:-20}"
start=$(date +%s)
for group in $(seq 1 "$jobs"); do
    LODRAVIX_SWEEP_FORMS=deep LODRAVIX_SWEEP_SEED=$seed LODRAVIX_SWEEP_GROUP=$group/$jobs \
        LODRAVIX_SWEEP_TABLE="$PWD/$table.$group" "$build/bin/shell_tests" --gtest_filter="${LODRAVIX_SWEEP_FILTER:-Examples/FaultSweep.*}" \
        >"$logs/group$group.log" 2>&1 &
done
failed=0
for job in $(jobs -p); do wait "$job" || failed=1; done
cat "$table".* >"$table" && rm -f "$table".*
echo "runs: $(wc -l <"$table"), in $(($(date +%s) - start)) s"
echo "outcomes:"
awk -F'\t' '$4 == "clean" { sub(/   .*/, "", $5); n[$5]++ } END { for (o in n) printf "  %7d %s\n", n[o], o }' \
    "$table" | sort -rn
echo "faults: $(awk -F'\t' '$4 == "fault"' "$table" | wc -l) (see $logs/)"
exit "$failed"
