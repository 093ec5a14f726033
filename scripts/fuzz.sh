#!/usr/bin/env bash
# Runs the native fuzz targets that fuzz/CMakeLists.txt built into BUILD.
#
#   scripts/fuzz.sh BUILD SECONDS [regress]
#
# Each target fuzzes for SECONDS seconds, at most FUZZ_JOBS (default 2) at a
# time, starting from its seeds (fuzz/corpus/NAME), the crash inputs kept as
# regression cases (fuzz/regressions/NAME) and what earlier runs found
# (BUILD/corpus/NAME, which the run grows). With "regress", every seed and
# regression input first runs once on its own. FUZZ_TARGETS="a b" limits the
# run to those targets. Prints one line per target with libFuzzer's final
# figures and fails when any target crashed, hung or broke a check; the input
# that did it is saved under BUILD/artifacts/NAME/.
set -uo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD SECONDS [regress]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
seconds=$2
regress=${3:-}
fuzz=$(cd "$(dirname "$0")/../fuzz" && pwd)
jobs=${FUZZ_JOBS:-2}
targets=${FUZZ_TARGETS:-$(cat "$build/targets.txt")}

# FUZZ_TOTAL_SECONDS bounds the fuzzing time of the whole run: the more
# targets, the less each gets, but never under 2 seconds.
if [ -n "${FUZZ_TOTAL_SECONDS:-}" ]; then
  share=$(( FUZZ_TOTAL_SECONDS * jobs / $(wc -w <<<"$targets") ))
  [ "$share" -lt 2 ] && share=2
  [ "$share" -lt "$seconds" ] && seconds=$share
fi

# Symbolized stacks in crash reports; every UB report with its stack.
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
if [ -z "${ASAN_SYMBOLIZER_PATH:-}" ] && [ -x "$symbolizer" ]; then
  export ASAN_SYMBOLIZER_PATH=$symbolizer
fi
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

mkdir -p "$build/logs"

# Runs one target; leaves its summary line in logs/NAME.line and fails when
# the target did.
run_target() {
  local name=$1
  local binary=$build/${name}_fuzz log=$build/logs/$name.log line=$build/logs/$name.line
  local work=$build/corpus/$name artifacts=$build/artifacts/$name
  mkdir -p "$work" "$artifacts"
  rm -f "$line" "$log"
  if [ ! -x "$binary" ]; then
    echo "$name: not built ($binary)" >"$line"
    return 1
  fi

  local kept=()
  for dir in "$fuzz/corpus/$name" "$fuzz/regressions/$name"; do
    [ -d "$dir" ] && kept+=("$dir")
  done

  if [ "$regress" = regress ] && [ ${#kept[@]} -gt 0 ]; then
    local files=()
    mapfile -t files < <(find "${kept[@]}" -type f | sort)
    if [ ${#files[@]} -gt 0 ] &&
       ! "$binary" -timeout=10 "${files[@]}" >"$build/logs/$name.regress.log" 2>&1; then
      echo "$name: a kept input fails, see $build/logs/$name.regress.log" >"$line"
      return 1
    fi
  fi

  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096
                 -print_final_stats=1 -artifact_prefix="$artifacts/")
  [ -f "$fuzz/dict/$name.dict" ] && options+=(-dict="$fuzz/dict/$name.dict")
  "$binary" "${options[@]}" "$work" "${kept[@]}" >"$log" 2>&1
  local status=$?

  # "#2345678  DONE   cov: 167 ft: 530 corp: 190/6483b ..." is the last status line.
  local final execs cov ft corpus
  final=$(grep -E '^#[0-9]+.* cov: ' "$log" | tail -n 1)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$final")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$final")
  corpus=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$final")
  local verdict=ok
  if [ $status -ne 0 ]; then
    local input
    input=$(sed -n 's/.*Test unit written to \(.*\)/\1/p' "$log" | tail -n 1)
    verdict="FAILED (exit $status): ${input:-see $log}"
  fi
  printf '%-18s %12s execs  cov %5s  ft %6s  corpus %5s  %s\n' \
    "$name" "${execs:-?}" "${cov:-?}" "${ft:-?}" "${corpus:-?}" "$verdict" >"$line"
  return $status
}

for name in $targets; do
  run_target "$name" &
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
done
wait

echo "fuzzing: ${seconds}s per target${regress:+, kept inputs run once first}"
failed=0
for name in $targets; do
  cat "$build/logs/$name.line"
  grep -q ' ok$' "$build/logs/$name.line" || failed=1
done
if [ $failed -ne 0 ]; then
  echo "fuzzing found a fault: fix it, then keep the input in fuzz/regressions/NAME/" >&2
  for name in $targets; do
    grep -q ' ok$' "$build/logs/$name.line" || { echo "--- $name"; grep -E -A 30 'ERROR|check failed|runtime error|ALARM|Regression|FAIL' "$build/logs/$name.log" "$build/logs/$name.regress.log" 2>/dev/null | head -n 60; } >&2
  done
fi
exit $failed
