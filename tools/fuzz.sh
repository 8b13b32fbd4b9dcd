#!/usr/bin/env bash
# Builds the fuzz harnesses (fuzz/, clang's libFuzzer with the address and
# undefined-behaviour sanitizers, in build/fuzz) and runs each one over its
# committed corpus for a while. Any crash, leak or broken promise fails the
# run; the input that found it is left in build/fuzz/findings/<harness>/.
#
#   tools/fuzz.sh                    every harness for 60 s
#   tools/fuzz.sh -t 5               every harness for 5 s (the test command)
#   tools/fuzz.sh -n 10000000 wav    one harness for ten million inputs
#   tools/fuzz.sh -n 10000000 -t 900 undo   ten million, or 15 minutes at most
#   tools/fuzz.sh -r                 only replay the corpus, no new inputs
#   tools/fuzz.sh -w 2 -n 10000000 undo   the same run shared by two workers
#
# New inputs the fuzzer finds go to build/fuzz/corpus/<harness>/, never into
# the committed corpus: a finding is added there by hand, once it is fixed,
# as a regression case.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
seconds=60 runs="" replay=0 timed=0 workers=1
while getopts "t:n:rw:" opt; do
  case "$opt" in
    t) seconds="$OPTARG"; timed=1 ;;
    n) runs="$OPTARG" ;;
    r) replay=1 ;;
    w) workers="$OPTARG"
       # A count that is not a number would otherwise fall back to one worker without a word.
       [[ "$workers" =~ ^[1-9][0-9]*$ ]] || { echo "fuzz: -w takes a number of workers, not '$workers'" >&2; exit 2; } ;;
    *) echo "usage: tools/fuzz.sh [-t seconds | -n inputs | -r] [-w workers] [harness...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

build="$top/build/fuzz"
mkdir -p "$build"
if ! { cmake -S "$top/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ && cmake --build "$build" -j2; } \
     >"$build/build.log" 2>&1; then
  tail -40 "$build/build.log" >&2
  echo "fuzz: the harnesses did not build (log in $build/build.log)" >&2
  exit 1
fi

if [ $# -eq 0 ]; then
  set -- $(cd "$top/fuzz" && ls ./*.cpp | sed 's|^\./||; s|\.cpp$||')
fi
failed=0
for name in "$@"; do
  seed="$top/fuzz/corpus/$name"
  work="$build/corpus/$name"
  findings="$build/findings/$name"
  mkdir -p "$work" "$findings"
  # Input sizes as large as the reader ever meets in practice: a WAV file's
  # header and some data, a help page, a run of helper records. Larger inputs
  # only slow the run (the layouts and files grow with them).
  case "$name" in
    wav|wavconvert) maxlen=65536 ;;
    pictra|reply) maxlen=8192 ;;
    helppage) maxlen=2048 ;;
    # The undo store holds 48 files a step; 1 KB of input already writes
    # most of them, and more only rewrites the same files again.
    undo) maxlen=1024 ;;
    *) maxlen=4096 ;;
  esac
  args=(-artifact_prefix="$findings/" -print_final_stats=1 -max_len=$maxlen -rss_limit_mb=4096 -timeout=20)
  [ -f "$top/fuzz/dict/$name.dict" ] && args+=(-dict="$top/fuzz/dict/$name.dict")
  if [ "$replay" = 1 ]; then
    args+=(-runs=0)
  elif [ -n "$runs" ]; then
    args+=(-runs="$runs")
    [ "$timed" = 1 ] && args+=(-max_total_time="$seconds")
  else
    args+=(-max_total_time="$seconds")
  fi
  # With more than one worker libFuzzer runs in fork mode: the input count
  # and the time limit then hold for all workers together.
  [ "$replay" = 0 ] && [ "$workers" -gt 1 ] && args+=(-fork="$workers")
  log="$build/$name.log"
  started=$(date +%s)
  if "$build/fuzz_$name" "${args[@]}" "$work" "$seed" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED; failed=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  # Fork mode prints no final statistics; its last progress line has the count.
  [ -n "$execs" ] || execs=$(sed -n 's/^INFO: fuzzed for \([0-9]*\) iterations.*/\1/p; s/^#\([0-9]*\): cov:.*/\1/p' "$log" | tail -1)
  echo "fuzz $name: $result, ${execs:-?} inputs in $(( $(date +%s) - started )) s"
  [ "$result" = ok ] || { grep -E "ERROR|promise broken|SUMMARY|Test unit written" "$log" | head -8; }
done
[ "$failed" = 0 ] || { echo "fuzz: a harness found a fault (logs in $build)" >&2; exit 1; }
