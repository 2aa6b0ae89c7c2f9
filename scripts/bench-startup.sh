#!/usr/bin/env bash
# Start-up time and peak memory of converter-config against a bare Qt window,
# under a virtual display inside a private network namespace.
#   scripts/bench-startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-10}
exec scripts/netns-run.sh env QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 800x480x24 -nolisten tcp" \
    "$build/bin/bench_startup" "$build/bin/converter-config" "$build/bin/bare_window" "$runs"
