#!/usr/bin/env bash
# Benchmarks of setup against bare references (docs/performance.md). Every
# figure is a ratio of two sides measured in the same run, alternating which
# side goes first, over several runs: the median of the per-run ratios with
# [min .. max], and the ratio of the two sides' fastest runs (on a busy
# machine the least disturbed ones). Not a test: CI does not run it.
#
#   size     Setup.exe against a minimal dialog program built with the same
#            flags (benchmarks/MinimalDialog.*)
#   startup  under Wine: process start to the visible dialog, Setup.exe with
#            a product disc in D: against the minimal dialog program, and
#            against the same program with Setup's manifest
#   install  under Wine: a product folder of about 2,000 files and 200 MB,
#            Setup.exe from the Install click to the completion message
#            against one bare SHFileOperationA call made the same way
#   lookup   natively (Google Benchmark): one language-table lookup against
#            a raw open/lseek/read/close of the same bytes, and the load of
#            a 65,536-record index against a raw read of the same file
#
# usage: scripts/bench.sh [--quick] [--runs N] [--only LIST]
#   (as root on Debian, like scripts/test.sh: installs what is missing)
#   --quick    200 files / 20 MB and 3 runs: a check that everything works
#   --runs N   runs of each Wine figure (default: install 9, startup 41) and
#              repetitions of the native ones (default 9)
#   --only     a comma-separated subset of size,startup,install,lookup
#   BENCH_FILES, BENCH_MEGABYTES override the product folder's size.
#
# Builds in build-bench/ (cross, -DSETUP_BENCHMARKS=ON) and
# build-bench-native/; the Wine figures run in a fresh copy of the
# end-to-end tests' template prefix (tests/e2e/run-test.sh). Everything
# printed is also kept in build-bench/results/<UTC time>.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

quick=0
runs=
only=size,startup,install,lookup
while [ $# -gt 0 ]; do
    case $1 in
        --quick) quick=1 ;;
        --runs) runs=$2; shift ;;
        --only) only=$2; shift ;;
        *) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2 ;;
    esac
    shift
done
if [ $quick = 1 ]; then
    files=${BENCH_FILES:-200}; megabytes=${BENCH_MEGABYTES:-20}
    install_runs=${runs:-3}; startup_runs=${runs:-3}; repetitions=${runs:-3}
else
    files=${BENCH_FILES:-2000}; megabytes=${BENCH_MEGABYTES:-200}
    install_runs=${runs:-9}; startup_runs=${runs:-41}; repetitions=${runs:-9}
fi
wants() { case ",$only," in *",$1,"*) return 0 ;; *) return 1 ;; esac; }

# What the tests need, and Google Benchmark for the native figure.
bash scripts/install-packages.sh
if wants lookup &&
    ! dpkg-query -W -f='${Status}' libbenchmark-dev 2>/dev/null | grep -q "install ok installed"; then
    echo "bench: installing libbenchmark-dev"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        libbenchmark-dev >/dev/null
fi

cross=$root/build-bench
native=$root/build-bench-native
mkdir -p "$cross/results"
log=$cross/results/$(date -u +%Y%m%dT%H%M%SZ).txt
exec > >(tee "$log") 2>&1

machine() {
    echo "== machine"
    echo "date (UTC):  $(date -u '+%Y-%m-%d %H:%M')"
    echo "cpu:         $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1), $(nproc) cores"
    echo "memory:      $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
    echo "kernel:      $(uname -sr)"
    echo "wine:        $(wine --version 2>/dev/null || echo none)"
    echo "compilers:   $(i686-w64-mingw32-g++-posix --version | head -1)," \
        "$(c++ --version | head -1)"
    echo "load:        $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min)," \
        "$(pgrep -c wineserver || true) Wine servers running (other prefixes)"
}
machine

echo "== build (build-bench/, build-bench-native/)"
if wants size || wants startup || wants install; then
    toolchain=
    [ -f "$cross/CMakeCache.txt" ] || toolchain=-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
    cmake -S . -B "$cross" $toolchain -DCMAKE_BUILD_TYPE=Release -DSETUP_BENCHMARKS=ON >/dev/null
    cmake --build "$cross" -j"$(nproc)" --target Setup bench_dialog bench_dialog_imports \
        bench_dialog_manifest bench_copy bench_driver >/dev/null
fi
if wants lookup; then
    cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release -DSETUP_BENCHMARKS=ON >/dev/null
    cmake --build "$native" -j"$(nproc)" --target bench_language_table >/dev/null
fi

# Runs the driver in a fresh copy of the end-to-end template prefix.
driver() {
    E2E_TIMEOUT=${E2E_TIMEOUT:-3600} bash "$root/tests/e2e/run-test.sh" \
        "$cross/e2e-wine/template" "$cross/benchmarks/bench_driver.exe" "$@"
}

if wants size; then
    echo "== size"
    setup=$cross/app/Setup.exe
    minimal=$cross/benchmarks/bench_dialog.exe
    s=$(stat -c %s "$setup")
    m=$(stat -c %s "$minimal")
    echo "Setup.exe $s bytes; minimal dialog $m bytes; ratio $(awk "BEGIN {printf \"%.2f\", $s / $m}")"
    echo "sections (bytes; .bss takes no room in the file):"
    paste <(i686-w64-mingw32-size -A "$setup" | awk 'NF == 3 && $2 ~ /^[0-9]+$/ {print $1, $2}') \
        <(i686-w64-mingw32-size -A "$minimal" | awk 'NF == 3 && $2 ~ /^[0-9]+$/ {print $2}') |
        awk 'BEGIN {printf "  %-9s %9s %9s\n", "section", "Setup", "minimal"}
             {printf "  %-9s %9d %9d\n", $1, $2, $3}'
fi

if wants startup; then
    echo "== startup under Wine ($startup_runs runs)"
    driver startup --runs "$startup_runs"
fi

if wants install; then
    echo "== install under Wine ($files files, $megabytes MB, $install_runs runs)"
    driver install --files "$files" --megabytes "$megabytes" --runs "$install_runs"
fi

if wants lookup; then
    echo "== language table, native ($repetitions repetitions, interleaved at random)"
    json=$native/bench-language-table.json
    "$native/benchmarks/bench_language_table" --benchmark_repetitions="$repetitions" \
        --benchmark_enable_random_interleaving=true --benchmark_min_time=0.2 \
        --benchmark_out="$json" --benchmark_out_format=json >/dev/null
    python3 - "$json" <<'PY'
import json, statistics, sys
runs = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("run_type") == "iteration"]
def times(name, key):
    by_rep = {b["repetition_index"]: b[key] for b in runs if b["run_name"] == name}
    return [by_rep[i] for i in sorted(by_rep)]
def spread(values):
    return "median %10.1f  [%.1f .. %.1f]" % (statistics.median(values), min(values), max(values))
def ratio_spread(a, b):
    r = [x / y for x, y in zip(a, b)]
    return "median %6.2f x  [%.2f .. %.2f]; fastest / fastest %.2f x" % (
        statistics.median(r), min(r), max(r), min(a) / min(b))
pairs = [("GetString/662", "RawLookup/662"), ("GetString/788", "RawLookup/788"),
         ("Load65536", "RawIndexRead65536")]
for key in ("cpu_time", "real_time"):
    print("%s (ns per operation):" % key.replace("_", " "))
    for a, b in pairs:
        ta, tb = times(a, key), times(b, key)
        print("  %-18s %s" % (a, spread(ta)))
        print("  %-18s %s" % (b, spread(tb)))
        print("  %-18s %s" % ("ratio", ratio_spread(ta, tb)))
PY
fi

echo "== load afterwards: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "(kept in $log)"
