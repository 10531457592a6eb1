#!/usr/bin/env bash
# Runs each libFuzzer target for a bounded time, starting from the committed
# corpus. A crash leaves its input under the work folder and fails the run;
# turn every such input into a regression test.
#   bash tools/fuzz.sh BUILD_DIR [SECONDS_PER_TARGET]
set -euo pipefail

build=${1:?usage: fuzz.sh BUILD_DIR [SECONDS_PER_TARGET]}
seconds=${2:-25}
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=${PROCHNAR_FUZZ_WORK:-$build/fuzz-work}

for target in convert form table; do
    binary="$build/tests/fuzz/fuzz_$target"
    [ -x "$binary" ] || { echo "fuzz.sh: $binary is not built (configure with CXX=clang++ -DPROCHNAR_FUZZ=ON)" >&2; exit 2; }
    corpus="$work/$target"
    mkdir -p "$corpus"
    options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/$target-")
    case $target in
    convert) options+=(-max_len=512) ;;
    form) options+=(-max_len=8192 -dict="$top/tests/fuzz/form.dict") ;;
    # past two of the reader's 16 KiB chunks, so that lines and letters cross them
    table) options+=(-max_len=40000) ;;
    esac
    log="$work/$target.log"
    if ! "$binary" "${options[@]}" "$corpus" "$top/tests/fuzz/corpus/$target" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "fuzz.sh: fuzz_$target found a failing input; see $work" >&2
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$target: $runs inputs in ${seconds}s, no failure"
done
