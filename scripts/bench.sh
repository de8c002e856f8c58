#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine and prints their figures.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/prepare.sh" win

bench="$MIVRA_BUILD/win/bench"
exe="Z:$(tr / '\\' <<<"$MIVRA_BUILD/win/Mivra.exe")"
echo "== launch (--run job against a minimal ShellExecuteW program)"
"$WINE" "$bench/launch_bench.exe" "$exe" "${MIVRA_BENCH_ROUNDS:-60}" | tr -d '\r'
echo "== data file (10,000 items in 100 groups)"
"$WINE" "$bench/data_bench.exe" "${MIVRA_BENCH_ROUNDS_DATA:-15}" | tr -d '\r'
echo "== search keystroke (10,000 items)"
"$WINE" "$bench/search_bench.exe" "${MIVRA_BENCH_ROUNDS_SEARCH:-20}" | tr -d '\r'
echo "== item panel painting (repaint, hover, wheel over 10,000 items)"
"$WINE" "$bench/panel_bench.exe" "${MIVRA_BENCH_ROUNDS_PANEL:-60}" | tr -d '\r'
echo "== the item menu and the item editor against a bare popup menu and an empty window"
"$WINE" "$bench/menu_bench.exe" "${MIVRA_BENCH_ROUNDS_MENU:-30}" | tr -d '\r'
echo "== start-up to the first painted group (1,000 items) against a minimal window program"
"$WINE" "$bench/startup_bench.exe" "$exe" "${MIVRA_BENCH_ROUNDS_STARTUP:-15}" | tr -d '\r'
echo "== summoning by the hotkey, and the cost of waiting parked or hidden, against a minimal window program"
"$WINE" "$bench/summon_bench.exe" "$exe" "${MIVRA_BENCH_ROUNDS_SUMMON:-30}" "${MIVRA_BENCH_IDLE_SECONDS:-60}" | tr -d '\r'
