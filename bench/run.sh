#!/usr/bin/env bash
# Measures the converter on synthetic drawings. Builds nothing: BUILD_DIR
# must hold orvantis-cli, bench/make_drawing and (for the stage figures)
# bench/orvantis_bench.
#
#   bench/run.sh BUILD_DIR
#
# 1. Stage benchmarks (read, explode, trim, write, end to end, copy).
# 2. Per drawing: orvantis-cli convert against a plain cp of the same file
#    (page cache warm), their ratio, elements/s and peak memory.
# 3. Batch: peak memory of one run over 1 file against one over 200 files.
# 4. Naming: 1,000 sources of the same file name into one folder.
#
# Settings (environment): BENCH_MIN_TIME (seconds per stage benchmark,
# default 0.2), BENCH_REPETITIONS (default 1), BENCH_FILTER (regex for the
# stage benchmarks), BENCH_RUNS (timed runs per drawing, best kept, default
# 3), BENCH_SKIP_STAGES=1, BENCH_WORK (scratch folder; default a new one
# under TMPDIR, removed at the end).
set -euo pipefail
export LC_ALL=C

if [[ $# -ne 1 ]]; then
  echo "usage: bench/run.sh BUILD_DIR" >&2
  exit 2
fi
BUILD=$(cd "$1" && pwd)
CLI=$BUILD/orvantis-cli
MAKE_DRAWING=$BUILD/bench/make_drawing
STAGES=$BUILD/bench/orvantis_bench
MIN_TIME=${BENCH_MIN_TIME:-0.2}
REPS=${BENCH_REPETITIONS:-1}
RUNS=${BENCH_RUNS:-3}
FILTER=${BENCH_FILTER:-.}

for exe in "$CLI" "$MAKE_DRAWING"; do
  if [[ ! -x $exe ]]; then
    echo "run.sh: $exe is missing; build first (make bench does)" >&2
    exit 1
  fi
done

if [[ -n ${BENCH_WORK:-} ]]; then
  WORK=$BENCH_WORK
  mkdir -p "$WORK"
else
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/orvantis-run.XXXXXX")
  trap 'rm -rf "$WORK"' EXIT
fi

TIME=/usr/bin/time
HAVE_TIME=1
if [[ ! -x $TIME ]]; then
  HAVE_TIME=0
  echo "note: $TIME is missing (Debian package 'time'): peak memory is not measured"
fi

# Wall clock in microseconds, read without starting a subshell.
now() { printf -v "$1" '%s' "${EPOCHREALTIME/[.,]/}"; }

# best_us PREP CMD...: runs PREP then CMD (output discarded) RUNS times and
# prints the shortest wall time of CMD in microseconds.
best_us() {
  local prep=$1 best='' t0 t1 d i
  shift
  for ((i = 0; i < RUNS; i++)); do
    $prep
    now t0
    "$@" >/dev/null
    now t1
    d=$((t1 - t0))
    if [[ -z $best || $d -lt $best ]]; then best=$d; fi
  done
  echo "$best"
}

# peak_kb CMD...: peak resident memory of one run in KiB ("-" without time).
peak_kb() {
  if [[ $HAVE_TIME -eq 0 ]]; then
    "$@" >/dev/null
    echo "-"
    return
  fi
  "$TIME" -f %M -o "$WORK/rss" "$@" >/dev/null
  tail -n 1 "$WORK/rss"
}

field() {  # field NAME LINE: the value of NAME=value in a make_drawing line
  sed -n "s/.* $1=\([0-9]*\).*/\1/p" <<<"$2"
}

echo "== machine"
echo "cores: $(nproc)   cpu: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)   scratch: $WORK"
echo

# ---- drawings -------------------------------------------------------------

NAMES=(10k 100k 1M blocks100k)
declare -A ARGS=(
  [10k]="--elements 10000 --seed 1"
  [100k]="--elements 100000 --seed 2"
  [1M]="--elements 1000000 --seed 3"
  [blocks100k]="--elements 1000 --insertions 100000 --seed 4"
)
declare -A FILE ELEMENTS BYTES
echo "== drawings (version 700, every element kind, A3 frame)"
for n in "${NAMES[@]}"; do
  FILE[$n]=$WORK/$n.jww
  # shellcheck disable=SC2086
  line=$("$MAKE_DRAWING" --version 700 ${ARGS[$n]} --out "${FILE[$n]}")
  echo "$line"
  rows=$(field rows "$line")
  ins=$(field insertions "$line")
  placed=$(field placed "$line")
  ELEMENTS[$n]=$((rows - ins + placed))
  BYTES[$n]=$(field bytes "$line")
done
echo

# ---- stage benchmarks -----------------------------------------------------

if [[ ${BENCH_SKIP_STAGES:-0} != 1 ]]; then
  echo "== stage benchmarks (one core, min time ${MIN_TIME}s, ${REPS} repetition(s))"
  if [[ -x $STAGES ]]; then
    TMPDIR=$WORK "$STAGES" --benchmark_min_time="$MIN_TIME" --benchmark_repetitions="$REPS" \
      --benchmark_filter="$FILTER" --benchmark_counters_tabular=true
  else
    echo "$STAGES is missing (configure with -DORVANTIS_BENCH=ON); skipped"
  fi
  echo
fi

# ---- conversion against a plain copy ----------------------------------------

echo "== orvantis-cli convert against cp (best of $RUNS, page cache warm)"
OUT=$WORK/out
COPY=$WORK/copy.jww
prep_convert() { rm -rf "$OUT"; mkdir -p "$OUT"; }
prep_copy() { rm -f "$COPY"; }
declare -A CONV_US
printf '%-11s %9s %7s %7s %9s %11s %7s %11s %9s %9s\n' \
  drawing elements MB "out MB" "copy ms" "convert ms" ratio "elements/s" "peak MB" "3xMB+50"
for n in "${NAMES[@]}"; do
  f=${FILE[$n]}
  cat "$f" >/dev/null
  copy_us=$(best_us prep_copy cp "$f" "$COPY")
  conv_us=$(best_us prep_convert "$CLI" convert --dest "$OUT" "$f")
  CONV_US[$n]=$conv_us
  prep_convert
  peak=$(peak_kb "$CLI" convert --dest "$OUT" "$f")
  out_bytes=0
  if [[ -s $OUT/$n.jww ]]; then out_bytes=$(stat -c %s "$OUT/$n.jww"); else echo "warning: $n was not converted"; fi
  awk -v n="$n" -v e="${ELEMENTS[$n]}" -v b="${BYTES[$n]}" -v o="$out_bytes" -v c="$copy_us" -v v="$conv_us" \
    -v p="$peak" 'BEGIN {
    mb = b / 1e6
    peak = (p == "-") ? "-" : sprintf("%.1f", p * 1024 / 1e6)
    printf "%-11s %9d %7.1f %7.1f %9.2f %11.2f %7.1f %11.0f %9s %9.1f\n",
      n, e, mb, o / 1e6, c / 1000, v / 1000, v / c, e / (v / 1e6), peak, 3 * mb + 50
  }'
done
rm -rf "$OUT" "$COPY"
awk -v a="${CONV_US[1M]}" -v b="${CONV_US[100k]}" \
  'BEGIN { printf "1M run / 100k run: %.1f (goal <= 12)\n", a / b }'
echo "goals: 1M >= 2,000,000 elements/s, ratio < 10, peak <= 3 x file size + 50 MB"
echo

# ---- the picture of a trim ----------------------------------------------------

echo "== convert --preview against convert on the 1M drawing (best of $RUNS)"
PREVIEW=$WORK/preview
prep_preview() { rm -rf "$OUT" "$PREVIEW"; mkdir -p "$OUT" "$PREVIEW"; }
plain_us=$(best_us prep_convert "$CLI" convert --dest "$OUT" "${FILE[1M]}")
pict_us=$(best_us prep_preview "$CLI" convert --dest "$OUT" --preview "$PREVIEW" "${FILE[1M]}")
svg_bytes=$(stat -c %s "$PREVIEW/1M.svg" 2>/dev/null || echo 0)
awk -v a="$plain_us" -v b="$pict_us" -v s="$svg_bytes" 'BEGIN {
  printf "convert %.0f ms, with --preview %.0f ms: +%.0f %% (goal <= 50 %%), SVG %.1f MB\n", a / 1000, b / 1000, (b / a - 1) * 100, s / 1e6
}'
rm -rf "$OUT" "$PREVIEW"
echo

# ---- batch: flat peak ---------------------------------------------------------

echo "== batch: the 100k drawing 200 times in one run (peak after 1, 10 and 200 files)"
BATCH=$WORK/batch
mkdir -p "$BATCH/src"
for i in $(seq -w 1 200); do
  ln "${FILE[100k]}" "$BATCH/src/f$i.jww" 2>/dev/null || cp "${FILE[100k]}" "$BATCH/src/f$i.jww"
done
declare -A PEAK
for count in 1 10 200; do
  rm -rf "$BATCH/out"
  mkdir -p "$BATCH/out"
  mapfile -t sources < <(printf '%s\n' "$BATCH"/src/*.jww | head -n "$count")
  t0=0 t1=0
  now t0
  PEAK[$count]=$(peak_kb "$CLI" convert --dest "$BATCH/out" "${sources[@]}")
  now t1
  written=$(find "$BATCH/out" -name '*.jww' | wc -l)
  awk -v n="$count" -v p="${PEAK[$count]}" -v us=$((t1 - t0)) -v w="$written" 'BEGIN {
    printf "%3d file(s): %7.2f s, %5.1f ms a file, %3d written", n, us / 1e6, us / n / 1000, w
    if (p != "-") printf ", peak %.1f MB", p * 1024 / 1e6
    printf "\n"
  }'
done
if [[ $HAVE_TIME -eq 1 ]]; then
  awk -v a="${PEAK[1]}" -v b="${PEAK[10]}" -v c="${PEAK[200]}" \
    'BEGIN { printf "peak 200 / peak 1: %.2f, peak 200 / peak 10: %.2f\n", c / a, c / b }'
fi
rm -rf "$BATCH"
echo

# ---- naming: 1,000 sources of one name ------------------------------------------

echo "== naming: 1,000 sources into one folder, all named same.jww against all named apart"
NAMING=$WORK/naming
mkdir -p "$NAMING/same" "$NAMING/apart"
"$MAKE_DRAWING" --version 700 --elements 100 --seed 5 --out "$NAMING/small.jww" >/dev/null
for i in $(seq -w 1 1000); do
  mkdir -p "$NAMING/src/$i"
  ln "$NAMING/small.jww" "$NAMING/src/$i/same.jww" 2>/dev/null || cp "$NAMING/small.jww" "$NAMING/src/$i/same.jww"
  ln "$NAMING/small.jww" "$NAMING/src/$i/d$i.jww" 2>/dev/null || cp "$NAMING/small.jww" "$NAMING/src/$i/d$i.jww"
done
t0=0 t1=0 t2=0
now t0
"$CLI" convert --dest "$NAMING/apart" "$NAMING"/src/*/d*.jww >/dev/null || true
now t1
"$CLI" convert --dest "$NAMING/same" "$NAMING"/src/*/same.jww >/dev/null || true
now t2
written=$(find "$NAMING/same" -name 'same*.jww' | wc -l)
last=absent
[[ -f $NAMING/same/same~999.jww ]] && last=present
awk -v a=$((t1 - t0)) -v b=$((t2 - t1)) -v w="$written" -v l="$last" 'BEGIN {
  printf "names apart: %.2f s;  same name: %.2f s (%d written, same~999.jww %s); naming cost %.2f s\n",
    a / 1e6, b / 1e6, w, l, (b - a) / 1e6
}'
rm -rf "$NAMING"
