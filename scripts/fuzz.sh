#!/usr/bin/env bash
# Runs each libFuzzer target for FUZZ_SECONDS (default 60), starting from the
# committed corpus; new inputs go to a scratch folder, findings to
# build-fuzz/findings/. Exits non-zero on any finding. Last line:
#   fuzz: T targets, E executions, F findings
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build=build-fuzz

scripts/install-deps.sh --fuzz
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCONVERTER_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2 >/dev/null

findings_dir=$build/findings
mkdir -p "$findings_dir"
targets=0 executions=0 findings=0
for corpus in fuzz/corpus/*/; do
    name=$(basename "$corpus")
    scratch=$(mktemp -d)
    log=$build/fuzz_$name.log
    echo "fuzz: $name for ${seconds}s"
    set +e
    "$build/bin/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings_dir/${name}-" "$scratch" "$corpus" >"$log" 2>&1
    status=$?
    set -e
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    found=$(find "$findings_dir" -name "${name}-*" -newer "$scratch" | wc -l)
    [[ $status -ne 0 && $found -eq 0 ]] && found=1
    echo "fuzz: $name: $runs executions, $found findings"
    [[ $found -gt 0 ]] && tail -n 30 "$log"
    targets=$((targets + 1))
    executions=$((executions + ${runs:-0}))
    findings=$((findings + found))
    rm -rf "$scratch"
done
echo "fuzz: $targets targets, $executions executions, $findings findings"
[[ $findings -eq 0 ]]
