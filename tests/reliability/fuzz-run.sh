#!/usr/bin/env bash
# Runs one libFuzzer target for SECONDS over its seed corpus and prints one line of figures:
#   fuzz-run.sh FUZZER SEEDS SECONDS MAX_LEN [CORPUS [FINDINGS]]
# New inputs go to CORPUS (a scratch folder when not given), never into SEEDS. Inputs that
# fail land in FINDINGS; the status is the fuzzer's (non-zero on a finding).
set -uo pipefail
fuzzer=$1 seeds=$2 seconds=$3 max_len=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
corpus=${5:-$scratch/corpus} findings=${6:-$scratch/findings}
mkdir -p "$corpus" "$findings"
log=$scratch/log
# Every seed first, as a regression case, then fuzzing for the given time.
"$fuzzer" -runs=0 -artifact_prefix="$findings/" "$seeds" >"$log" 2>&1 || { cat "$log"; echo "FAILED on a seed: $(basename "$fuzzer")"; exit 1; }
"$fuzzer" -max_total_time="$seconds" -max_len="$max_len" -seed=1 -timeout=25 -rss_limit_mb=2048 \
          -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" "$seeds" >"$log" 2>&1
rc=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
time=$(sed -n 's/^stat::.*total_time.*: *//p' "$log" | tail -1)
cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
printf '%-22s %10s runs  %4s s  %-10s %s\n' "$(basename "$fuzzer")" "${runs:-?}" "$seconds" "${cov:-}" \
       "$([ $rc -eq 0 ] && echo "0 findings" || echo "FINDING (status $rc) in $findings")"
if [ $rc -ne 0 ]; then
  grep -A30 -m1 'ERROR\|==ERROR\|deadly signal\|runtime error' "$log" | head -60
fi
exit $rc
