#!/usr/bin/env bash
# Runs the cross build's test suite (ctest -j2 in build/, as scripts/test.sh
# does) N times in a row while a load generator keeps every core busy, and
# prints one line per run. A test that depends on timing shows up here.
#
# usage: scripts/stress-tests.sh N [BUILD_DIR]
#
# BUILD_DIR (default build) is brought up to date first, before the load
# starts. The load is one busy loop per core, started here and always ended
# on the way out. Each run's output goes to BUILD_DIR/stress/run-I.log.
# Exit status 0 when every run passed.
set -u
runs=${1:-}
case $runs in
    '' | *[!0-9]* | 0)
        sed -n '/^# usage:/,/^# Exit status/p' "$0" | sed 's/^# \{0,1\}//' >&2
        exit 2
        ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${2:-$root/build}")

cmake --build "$build" -j2 >"$build/stress-build.log" 2>&1 ||
    { tail -n 30 "$build/stress-build.log" >&2; echo "stress: the build failed" >&2; exit 1; }
mkdir -p "$build/stress"

load=()
stop_load() {
    for pid in "${load[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
}
trap stop_load EXIT
trap 'exit 130' INT TERM
cores=$(nproc)
for _ in $(seq "$cores"); do
    (while :; do :; done) &
    load+=($!)
done
echo "stress: $runs run(s) of the suite in $build, with $cores busy loop(s) on $cores core(s)"

passed=0
for run in $(seq "$runs"); do
    log=$build/stress/run-$run.log
    started=$(date +%s)
    (cd "$build" && bash "$root/scripts/with-display.sh" ctest -j2 --timeout 600 \
        --output-on-failure) >"$log" 2>&1
    status=$?
    seconds=$(($(date +%s) - started))
    summary=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1)
    if [ $status = 0 ]; then
        passed=$((passed + 1))
        echo "run $run/$runs: passed in $seconds s: ${summary:-no summary}"
    else
        failed=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (.*)$/\1/p' "$log" | paste -sd' ')
        echo "run $run/$runs: FAILED in $seconds s: ${summary:-no summary}; ${failed:-} (see $log)"
    fi
done
echo "stress: $passed of $runs run(s) passed"
[ $passed = "$runs" ]
