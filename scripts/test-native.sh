#!/usr/bin/env bash
# Native checks of the portable code (language table, writer, langtool, the
# installation's path rules, the uninstall record):
#  1. a build in build-native/ with AddressSanitizer and
#     UndefinedBehaviorSanitizer (the language table's benchmark built, not
#     run), and its tests (ctest);
#  2. when clang is installed, the libFuzzer targets in build-fuzz/, which
#     share FUZZ_SECONDS (default 60): the language table on a copy of
#     tests/fuzz/corpus (half), the uninstall record on
#     tests/fuzz/record-corpus (a third), then the install root on
#     tests/fuzz/root-corpus.
# Exits non-zero on the first failure.
#
# A long fuzz run (here ten hours) once this script has built build-fuzz/:
#   mkdir -p fuzz-corpus && cp tests/fuzz/corpus/* fuzz-corpus/
#   build-fuzz/fuzz_language_table -max_len=2048 -max_total_time=36000 \
#       -artifact_prefix=build-fuzz/ fuzz-corpus
# A crash is saved as build-fuzz/crash-<hash>; rerun it by passing that file
# to its target, and turn it into a regression test in tests/native. The
# install root's target runs the same way on tests/fuzz/root-corpus
# (-max_len=300 covers every text longer than a path buffer), the uninstall
# record's on tests/fuzz/record-corpus (-max_len=1024: a few long lines).
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=${FUZZ_SECONDS:-60}
jobs=$(nproc 2>/dev/null || echo 2)
sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"

echo "== native build with sanitizers (build-native/)"
# The language table's benchmark is built here too (not run: scripts/bench.sh).
cmake -S . -B build-native -DCMAKE_BUILD_TYPE=Debug -DSETUP_BENCHMARKS=ON \
    -DCMAKE_C_FLAGS="$sanitize" -DCMAKE_CXX_FLAGS="$sanitize" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitize"
cmake --build build-native -j "$jobs"

echo "== native tests"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-native && ctest --output-on-failure -j "$jobs")

if ! command -v clang++ >/dev/null; then
    echo "== clang++ not found: fuzzing skipped"
    exit 0
fi

echo "== fuzz target (build-fuzz/)"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DSETUP_FUZZ=ON
cmake --build build-fuzz -j "$jobs" --target fuzz_language_table fuzz_install_root \
    fuzz_uninstall_record

corpora=$(mktemp -d)
trap 'rm -rf "$corpora"' EXIT
# target, seed corpus, longest input, seconds
fuzz() {
    echo "== fuzzing $1 for $4 s"
    mkdir "$corpora/$1"
    cp "$2"/* "$corpora/$1"/
    build-fuzz/"$1" -max_len="$3" -max_total_time="$4" -artifact_prefix=build-fuzz/ "$corpora/$1"
}
record_seconds=$((fuzz_seconds / 3))
root_seconds=$((fuzz_seconds / 6))
fuzz fuzz_language_table tests/fuzz/corpus 2048 $((fuzz_seconds - record_seconds - root_seconds))
fuzz fuzz_uninstall_record tests/fuzz/record-corpus 1024 "$record_seconds"
fuzz fuzz_install_root tests/fuzz/root-corpus 300 "$root_seconds"
echo "== all native checks passed"
