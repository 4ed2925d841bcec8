#!/usr/bin/env bash
# Builds one libFuzzer target per parser (fuzz/, under AddressSanitizer and UndefinedBehaviorSanitizer, with
# clang) into build-fuzz/ and runs each for the given seconds (default 60), $LODRAVIX_FUZZ_JOBS at a time
# (default 2). Seeds: fuzz/corpus/<target>/, fuzz/regressions/<target>/ and the files of tests/data (and
# ../shared/testdata when it is there) of the target's kind. New inputs go to build-fuzz/corpus/<target>/; a
# finding leaves its input as build-fuzz/findings/<target>/crash-*, to be kept under fuzz/regressions/<target>/.
# Prints executions and findings per target; exits non-zero when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
jobs=${LODRAVIX_FUZZ_JOBS:-2}
build=${LODRAVIX_BUILD_DIR:-build}
out=build-fuzz
targets=(asc xyz dxf shp dbf sosi prefs config elemdata script libpart)

bash scripts/setup.sh fuzz
# The targets link the normal build's libraries and compile only the parsers again.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "${LODRAVIX_JOBS:-4}" --target lodravix_static standin_host_core platform
CC=clang CXX=clang++ cmake -S fuzz -B "$out" -G Ninja -DLODRAVIX_FUZZ=ON -DLODRAVIX_BUILD_DIR="$PWD/$build" >/dev/null
cmake --build "$out" -j "${LODRAVIX_JOBS:-4}"

# Seed folders of each target beyond its own corpus: files of its kind in the test data, the library and the
# examples. The patterns go to find unexpanded (a "*.txt" the shell expanded would name the repository's own files).
seeds() {
    local pattern
    case $1 in
        asc) pattern='*.asc' ;; xyz) pattern='*.xyz *.txt *.csv' ;; dxf) pattern='*.dxf' ;;
        shp) pattern='*.shp' ;; dbf) pattern='*.dbf' ;; sosi) pattern='*.sos' ;; prefs) pattern='*.prf' ;;
        config) pattern='*.cfg' ;; libpart) pattern='*.lpd' ;; script) pattern='*.script' ;;
        elemdata) pattern='*.bin' ;; *) return 0 ;;
    esac
    local -a patterns
    read -r -a patterns <<<"$pattern"
    mkdir -p "$out/seeds/$1"
    for dir in tests/data library examples ../shared/testdata /work/shared/testdata; do
        [ -d "$dir" ] || continue
        for p in "${patterns[@]}"; do
            # Small files only: libFuzzer mutates within -max_len anyway.
            find "$dir" -name "$p" -size -256k -exec cp -n {} "$out/seeds/$1/" \; 2>/dev/null || true
        done
    done
    echo "$out/seeds/$1"
}

export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run() {
    local t=$1
    mkdir -p "$out/corpus/$t" "$out/findings/$t"
    local extra
    extra=$(seeds "$t")
    "$out/${t}_fuzz" "$out/corpus/$t" fuzz/corpus/$t fuzz/regressions/$t $extra \
        -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=3072 -print_final_stats=1 \
        -artifact_prefix="$out/findings/$t/" >"$out/$t.log" 2>&1 || true
    local execs findings slow
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/$t.log" | grep -o '[0-9]*$' || echo 0)
    findings=$(find "$out/findings/$t" -type f ! -name 'slow-unit-*' | wc -l)
    # An input over 10 s: on a busy machine often the machine, so told apart; replay it alone to judge.
    slow=$(find "$out/findings/$t" -type f -name 'slow-unit-*' | wc -l)
    printf '%-9s executions %10s  findings %s  slow inputs %s\n' "$t" "${execs:-0}" "$findings" "$slow"
}

running=0
for t in "${targets[@]}"; do
    run "$t" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n
        running=$((running - 1))
    fi
done
wait
total=$(find "$out/findings" -type f ! -name 'slow-unit-*' | wc -l)
echo "findings: $total (inputs in $out/findings/, logs in $out/<target>.log)"
[ "$total" -eq 0 ]
