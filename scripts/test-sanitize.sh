#!/usr/bin/env bash
# Builds the project with AddressSanitizer and UndefinedBehaviorSanitizer into
# its own folder and runs the whole suite there, inside a private network.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-sanitize}
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
# The tests forced on: a cached OFF would make this run nothing and pass.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCONVERTER_BUILD_TESTS=ON -DCONVERTER_BUILD_BENCH=OFF \
    -DCONVERTER_PACKAGING=OFF \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j2
# Leaks of the system libraries only; see the file for each entry's reason.
# Full stacks on allocation, so that a suppression can name the library.
export ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scripts/run-tests.sh "$build"
