#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test:
#   native unit tests of src/core (sanitizers), Windows tests under Wine,
#   end-to-end tests of the real Mivra.exe on Xvfb, and each fuzz target for
#   a short fixed time. Exits non-zero on any failure.
#   MIVRA_FUZZ_SECONDS   time per fuzz target (default 15)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

"$root/scripts/setup.sh" || exit 1
"$root/scripts/build.sh" native fuzz win || exit 1

export MIVRA_BUILD=${MIVRA_BUILD:-$root/build}
# Tests always get an X server of their own: nothing on the user's screen
# can disturb them, and they disturb nothing.
MIVRA_FORCE_XVFB=1 source "$root/scripts/display.sh"
"$root/scripts/wine-prefix.sh" || exit 1
source "$root/scripts/wine-env.sh"

passed=0
failed=0
skipped=0
failures=()

count_ctest() {  # name, log
  local line
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$2" | tail -n1)
  if [ -z "$line" ]; then
    failed=$((failed + 1)); failures+=("$1: ctest reported nothing"); return
  fi
  local bad total skips
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  # ctest counts a skipped test among the passed ones: count it apart.
  skips=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*\*\*\*Skipped' "$2")
  passed=$((passed + total - bad - skips)); failed=$((failed + bad)); skipped=$((skipped + skips))
  [ "$bad" -eq 0 ] || failures+=("$1: $bad of $total failed")
}

run_ctest() {  # name, build folder
  local log="$MIVRA_BUILD/$1-ctest.log"
  echo "== $1 tests"
  ctest --test-dir "$2" --output-on-failure --timeout 600 </dev/null 2>&1 | tee "$log"
  count_ctest "$1" "$log"
}

run_ctest native "$MIVRA_BUILD/native"
run_ctest windows "$MIVRA_BUILD/win"

echo "== fuzz targets (${MIVRA_FUZZ_SECONDS:-15} s each)"
corpus_root="$MIVRA_BUILD/fuzz-corpus"
for fuzzer in "$MIVRA_BUILD"/fuzz/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  mkdir -p "$corpus_root/$name"
  seeds=()
  [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
  log="$MIVRA_BUILD/$name.log"
  # Inputs up to 64 KB, so that a cost that grows faster than the input shows
  # as a per-input time-out.
  if (cd "$MIVRA_BUILD" && ASAN_OPTIONS=detect_leaks=1 "$fuzzer" -max_total_time="${MIVRA_FUZZ_SECONDS:-15}" \
        -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 "$corpus_root/$name" "${seeds[@]}" \
        >"$log" 2>&1); then
    echo "fuzz $name: ok ($(grep -Eo '#[0-9]+' "$log" | tail -n1 | tr -d '#') runs)"
    passed=$((passed + 1))
  else
    echo "fuzz $name: FAILED"; tail -n 40 "$log"
    failed=$((failed + 1)); failures+=("fuzz $name")
  fi
done

# Leave no Wine process behind: the next run starts its server afresh.
"$WINESERVER" -k 2>/dev/null || true

echo
for f in "${failures[@]}"; do echo "failed: $f"; done
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
