#!/usr/bin/env bash
# Runs every fuzz target for SECONDS, one after the other, from corpora that
# persist in the build folder (seeded afresh from make_seeds each time).
#   fuzz/run.sh BUILD_FOLDER SECONDS [TARGET...]
set -euo pipefail
build=$1
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_read fuzz_convert fuzz_strings fuzz_settings)
here=$(cd "$(dirname "$0")" && pwd)

"$build/fuzz/make_seeds" "$build/seeds"
mkdir -p "$build/artifacts"
status=0
for t in "${targets[@]}"; do
  case $t in
    fuzz_strings) seeds=$build/seeds/strings ;;
    fuzz_settings) seeds=$here/settings_seeds ;;
    *) seeds=$build/seeds/drawings ;;
  esac
  corpus=$build/corpus/$t
  mkdir -p "$corpus"
  echo "== $t: $seconds s =="
  # Drawings need room beyond their 16 KB header; the limits are those an
  # input under 1 MB must keep.
  set +e
  nice "$build/fuzz/$t" "$corpus" "$seeds" -dict="$here/jww.dict" -max_total_time="$seconds" \
    -max_len=200000 -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$t-" >"$build/$t.log" 2>&1
  rc=$?
  set -e
  grep -E "^(#[0-9]+ +(INITED|DONE)|Done|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)" "$build/$t.log" || true
  [ $rc = 0 ] || { echo "$t: finding, see $build/$t.log"; status=1; }
done
exit $status
