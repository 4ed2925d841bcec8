#!/usr/bin/env bash
# Builds the whole tree with AddressSanitizer and UndefinedBehaviorSanitizer (Debug: assertions kept) into
# build-sanitize/ (or $LODRAVIX_SANITIZE_DIR) and runs every test and example script there. Any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
build=${LODRAVIX_SANITIZE_DIR:-build-sanitize}
jobs=${LODRAVIX_JOBS:-$(nproc)}

# Every target gets the same flags: the standin-host and the module it dlopens then share one sanitizer runtime
# (the shared libasan and libubsan that gcc links by default).
# CGAL downcasts base records by design (its lazy exact kernel's representations, its arrangements' faces); the
# dynamic-type check reads that as a fault in every unit that builds those templates, so it is left out.
sanitize="-fsanitize=address,undefined -fno-sanitize=vptr -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
# Optimised a little: CGAL's exact kernels unoptimised (every small template call a real call, every number on the
# stack) ran the road example's solids and the tests that replay it for tens of minutes under the checks. -O1 keeps
# every check the sanitizers make (they instrument before the optimiser runs) and the assertions of a Debug build;
# sibling calls stay calls so that a report's stack shows every caller. gcc's flow analysis, run over the sanitizers'
# instrumented code, takes the standard library's own moves (std::regex's states, std::pair of CGAL's lines) for reads
# of uninitialised members; the normal build keeps that warning, here it is left out.
optimise="-O1 -fno-optimize-sibling-calls -Wno-maybe-uninitialized"
# No benchmark runs here (their figures need the normal build): they are not built. A sweep group may take an hour
# under the checks (the longest takes about six minutes on seven cores now that failing runs are forked where their
# failure comes; before, the large main road's ran past 30).
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_FLAGS_DEBUG="-g $optimise" -DCMAKE_CXX_FLAGS_DEBUG="-g $optimise" \
    -DCMAKE_C_FLAGS="$sanitize" -DCMAKE_CXX_FLAGS="$sanitize" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" -DLODRAVIX_TEST_TIMEOUT=900 \
    -DLODRAVIX_EXAMPLE_TIMEOUT=1800 -DLODRAVIX_SWEEP_TIMEOUT=3600 -DLODRAVIX_BENCH=OFF >/dev/null

# Also while the build lists the tests (gtest_discover_tests runs each test program).
# The module is loaded and unloaded many times in one test process; the sanitizer's record of the dynamic TLS blocks
# it sees through __tls_get_addr then keeps ranges of unloaded modules, and the leak checker's thread, reading one,
# crashes ("Tracer caught signal 11", "DTLS ... at 0x1ecd-0x800002fcf"): from then on no leak check of that process
# can run. Without that interception the blocks are heap blocks like any other, still looked through.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:abort_on_error=0:halt_on_error=1:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake --build "$build" -j "$jobs"
# The fault sweep forks a run per host function for each action; here each run is looked at for what it does to
# memory (a report, a leak: the leak checker runs in every child with a failing host call), while the normal build
# judges the projects. It sweeps a third of the actions, each in every form of failure.
export LODRAVIX_SWEEP_MEMORY_ONLY=1
export LODRAVIX_SWEEP_EVERY=${LODRAVIX_SWEEP_EVERY:-3}
ctest --test-dir "$build" --output-on-failure -j "$jobs"
