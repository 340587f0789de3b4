#!/usr/bin/env bash
# Long run of one fuzz target (or all of them): builds the fuzz preset, runs the target niced for RUNS
# inputs (default ten million) on a working corpus seeded from fuzz/corpus/<target>, and prints the
# figures: inputs, seconds, coverage (cov: edges, ft: features), corpus size and peak memory. A crash,
# hang (an input over 10 s) or leak stops the run with a non-zero status and leaves the input that caused
# it in build/fuzz/long/. Further arguments go to libFuzzer (e.g. -max_len=4096). With -fork=N the run
# is shared by N worker processes; add -ignore_timeouts=0 -ignore_ooms=0 so that a hang or an
# out-of-memory still stops it (fork mode passes over them by default). The peak memory is then the
# workers' and is not printed.
#
#   tools/fuzz-long.sh settings_ini            tools/fuzz-long.sh all 1000000
#   tools/fuzz-long.sh settings_file 10000000 -fork=2 -ignore_timeouts=0 -ignore_ooms=0
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."

target=${1:?usage: tools/fuzz-long.sh TARGET|all [RUNS] [libFuzzer options]}
runs=${2:-10000000}
shift $(($# >= 2 ? 2 : 1))

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

if [ "$target" = all ]; then
  targets=$(ls fuzz/corpus)
else
  targets=$target
fi

status=0
for t in $targets; do
  bin=build/fuzz/bin/fuzz_$t
  [ -x "$bin" ] || { echo "no fuzz target $t" >&2; exit 2; }
  work=build/fuzz/long/$t
  mkdir -p "$work"
  log=build/fuzz/long/$t.log
  start=$(date +%s)
  set +e
  nice -n 10 "$bin" -runs="$runs" -timeout=10 -print_final_stats=1 -artifact_prefix="build/fuzz/long/$t-" \
    "$@" "$work" "fuzz/corpus/$t" >"$log" 2>&1
  rc=$?
  set -e
  seconds=$(($(date +%s) - start))
  inputs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  # With -fork=N the parent prints no final stats; its last status line holds the total of all workers.
  [ -n "$inputs" ] || inputs=$(sed -n 's/^#\([0-9]*\).*/\1/p' <<<"$last")
  rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([^ ]*\).*/\1/p' <<<"$last")
  echo "$(date -u +%F) $t: inputs ${inputs:-?} in ${seconds} s, cov ${cov:-?} ft ${ft:-?}, corpus ${corp:-?}," \
    "peak ${rss:-?} MB, exit $rc (log $log)"
  [ $rc -eq 0 ] || status=$rc
done
exit $status
