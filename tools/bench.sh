#!/usr/bin/env bash
# Measures Прочнар and prints a Markdown table of medians:
#  - each step and each handler on the worked examples (Google Benchmark);
#  - prochnar-calc on the worked example, as a whole process (hyperfine);
#  - prochnar-calc --table on 1 000 and 100 000 generated girders beside cat
#    of the same file, and the peak memory of both (/usr/bin/time);
#  - prochnar-calc --table on 100 000 rows with inspection columns, alone
#    and with --plan, beside cat and a table without them, and the results
#    window on the same rows;
#  - start-up to the first paint and peak memory of the window, under the
#    offscreen platform and under Xvfb, side by side with an empty Qt Widgets
#    window of the same size (the floor of any Qt program).
#   bash tools/bench.sh [BUILD_DIR]     (builds it first)
# PROCHNAR_BENCH_ONLY=tables measures the tables alone.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
runs=${PROCHNAR_BENCH_RUNS:-40}
only=${PROCHNAR_BENCH_ONLY:-}
for tool in hyperfine Xvfb /usr/bin/time python3; do
    command -v "$tool" >/dev/null || { echo "bench.sh: $tool is missing (apt-get install hyperfine xvfb time)" >&2; exit 2; }
done
if [ "$only" = tables ]; then
    cmake --build "$build" --target prochnar-calc prochnar_table_results_probe >/dev/null
else
    cmake --build "$build" --target prochnar_calc_bench prochnar_startup_probe prochnar_table_results_probe prochnar-calc \
        prochnar_documents >/dev/null
fi

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(. /etc/os-release && echo "$PRETTY_NAME"), Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null)"
echo

if [ "$only" != tables ]; then
echo "| Calculation (Google Benchmark, median of 10 repetitions) | Time |"
echo "|---|---|"
"$build/bench/prochnar_calc_bench" --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
    --benchmark_format=json --benchmark_out="$work/calc.json" >/dev/null
python3 - "$work/calc.json" <<'PY'
import json, sys
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        name = b["run_name"]
        print("| %s | %.2f µs |" % (name, b["real_time"] / 1000.0 if b["time_unit"] == "ns" else b["real_time"]))
PY
echo

# A whole process: read the form, three clicks, print the form.
hyperfine --runs "$runs" --warmup 5 --export-json "$work/cli.json" -N \
    "$build/cli/prochnar-calc $top/examples/worked-example.form" >/dev/null
cli_ms=$(python3 -c "import json,statistics,sys; r=json.load(open(sys.argv[1]))['results'][0]['times']; print('%.2f' % (statistics.median(r)*1000))" "$work/cli.json")
echo "| Whole process | Median of $runs runs |"
echo "|---|---|"
echo "| prochnar-calc on examples/worked-example.form | $cli_ms ms |"
echo
fi

# A line section of generated girders: the example's girders over and over,
# each with its own number and a corroded chord area between 4 and 9 cm².
gen_table() { # rows file
    python3 - "$1" "$2" "$top/examples/line-section.csv" <<'PY'
import csv, random, sys
rows, path, example = int(sys.argv[1]), sys.argv[2], sys.argv[3]
with open(example, encoding="utf-8", newline="") as f:
    table = list(csv.reader(f, delimiter=";"))
header, girders = table[0], [g for g in table[1:] if "4.4" not in g]
area = header.index("Text9")
random.seed(12)
with open(path, "w", encoding="utf-8", newline="") as f:
    out = csv.writer(f, delimiter=";", lineterminator="\n")
    out.writerow(header)
    for i in range(rows):
        g = list(girders[i % len(girders)])
        g[0], g[area] = str(i + 1), ("%.2f" % random.uniform(4, 9)).replace(".", ",")
        out.writerow(g)
PY
}
gen_table 1000 "$work/k1.csv"
gen_table 100000 "$work/k100.csv"
table_runs=$(( runs < 20 ? runs : 20 ))
hyperfine --runs "$table_runs" --warmup 2 -N -i --export-json "$work/table.json" \
    "cat $work/k100.csv" "$build/cli/prochnar-calc --table $work/k100.csv" \
    "$build/cli/prochnar-calc --table $work/k1.csv" >/dev/null 2>&1
read -r cat_ms big_ms small_ms < <(python3 -c "import json,statistics,sys; print(' '.join('%.1f' % (statistics.median(r['times'])*1000) for r in json.load(open(sys.argv[1]))['results']))" "$work/table.json")
table_peak() { # file -> median peak RSS in MiB
    # A table with a girder to check exits 3: the peak is read all the same.
    for i in $(seq 5); do { /usr/bin/time -f %M "$build/cli/prochnar-calc" --table "$1" 2>&1 >/dev/null || true; } | tail -1; done |
        median | awk '{ printf "%.1f", $1 / 1024 }'
}
small_mem=$(table_peak "$work/k1.csv")
big_mem=$(table_peak "$work/k100.csv")
echo "| A table of girders (median of $table_runs runs) | Time | Peak memory |"
echo "|---|---|---|"
echo "| cat of 100 000 girders ($(du -m "$work/k100.csv" | cut -f1) MB), the floor of reading them | $cat_ms ms | |"
echo "| prochnar-calc --table, 1 000 girders | $small_ms ms | $small_mem MiB |"
echo "| prochnar-calc --table, 100 000 girders | $big_ms ms | $big_mem MiB |"
printf '| memory, 100 000 against 1 000 girders | | %.2f× |\n' "$(echo "$big_mem / $small_mem" | bc -l)"
echo

# Inspections: the example line section's rows over and over, each a girder
# of its own (three campaigns of 33 333 supports), the angles, thicknesses
# and dates read, each row's lives counted, and with --plan the plan made.
python3 - "$top/examples/line-section-history.csv" "$work/h100.csv" <<'PY'
import sys
lines = open(sys.argv[1], encoding="utf-8").read().splitlines()
header, rows = lines[0], lines[1:]
support = header.split(";").index("Опора")
with open(sys.argv[2], "w", encoding="utf-8") as out:
    out.write(header + "\n")
    for i in range(100000):
        cells = rows[i % len(rows)].split(";")
        cells[support] = "%d-%d" % (i // len(rows), i % len(rows) // 3)
        out.write(";".join(cells) + "\n")
PY
hyperfine --runs "$table_runs" --warmup 2 -N -i --export-json "$work/history.json" \
    "cat $work/h100.csv" "$build/cli/prochnar-calc --table $work/k100.csv" \
    "$build/cli/prochnar-calc --table $work/h100.csv" \
    "$build/cli/prochnar-calc --table $work/h100.csv --plan $work/plan.csv" >/dev/null 2>&1
read -r hcat_ms today_ms life_ms plan_ms < <(python3 -c "import json,statistics,sys; print(' '.join('%.1f' % (statistics.median(r['times'])*1000) for r in json.load(open(sys.argv[1]))['results']))" "$work/history.json")
plan_peak=$(for i in $(seq 5); do { /usr/bin/time -f %M "$build/cli/prochnar-calc" --table "$work/h100.csv" --plan "$work/plan.csv" 2>&1 >/dev/null || true; } | tail -1; done | median | awk '{ printf "%.1f", $1 / 1024 }')
echo "| Inspections in a table, 100 000 rows (median of $table_runs runs) | Time | Peak memory |"
echo "|---|---|---|"
echo "| cat of 100 000 rows with inspection columns ($(du -m "$work/h100.csv" | cut -f1) MB) | $hcat_ms ms | |"
echo "| prochnar-calc --table, 100 000 girders without them | $today_ms ms | |"
echo "| prochnar-calc --table, 100 000 rows with lives | $life_ms ms | |"
echo "| prochnar-calc --table --plan, 33 334 girders | $plan_ms ms | $plan_peak MiB |"
echo

# The results window on the same rows: from choosing the file to all of them
# checked and shown sorted with the plan on its tab, and its peak memory
# beside the file's size.
window_runs=$(( runs < 5 ? runs : 5 ))
for i in $(seq "$window_runs"); do
    QT_QPA_PLATFORM=offscreen /usr/bin/time -f "%M" "$build/bench/prochnar_table_results_probe" "$work/h100.csv" 2>"$work/w.err" |
        sed -n 's/^checked in \([0-9.]*\) s.*/\1/p' >>"$work/w.times"
    tail -1 "$work/w.err" >>"$work/w.peaks"
done
window_s=$(median <"$work/w.times")
window_mib=$(median <"$work/w.peaks" | awk '{ printf "%.1f", $1 / 1024 }')
file_mib=$(du -m "$work/h100.csv" | cut -f1)
echo "| The results window, 100 000 rows with inspection columns (median of $window_runs runs, offscreen) | Time | Peak memory |"
echo "|---|---|---|"
printf '| checked, sorted and the plan shown (file of %s MB) | %s s | %s MiB (%.1f× the file) |\n' "$file_mib" "$window_s" \
    "$window_mib" "$(echo "$window_mib / $file_mib" | bc -l)"
echo
[ "$only" = tables ] && exit 0

# Start-up to the first paint. The probe runs in the folder of the built
# documents, so that the window loads gip.txt as the program does.
probe="$build/bench/prochnar_startup_probe"
Xvfb :91 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1

startup() { # platform-env mode -> median ms
    local env=$1 mode=$2
    (cd "$build/app" && env $env hyperfine --runs "$runs" --warmup 3 -N --export-json "$work/s.json" \
        "$probe $mode" >/dev/null 2>&1)
    python3 -c "import json,statistics,sys; r=json.load(open(sys.argv[1]))['results'][0]['times']; print('%.1f' % (statistics.median(r)*1000))" "$work/s.json"
}
peak() { # platform-env mode -> median peak RSS in MiB
    local env=$1 mode=$2 i
    for i in $(seq 15); do
        (cd "$build/app" && env $env /usr/bin/time -f %M "$probe" "$mode" 2>&1 >/dev/null | tail -1)
    done | median | awk '{ printf "%.1f", $1 / 1024 }'
}

echo "| Window start-up to first paint (median of $runs runs) | Empty Qt window (floor) | One label of text | Прочнар | Ratio to floor | Peak memory, floor | Peak memory, Прочнар | Ratio |"
echo "|---|---|---|---|---|---|---|---|"
for platform in offscreen xvfb; do
    if [ $platform = offscreen ]; then env="QT_QPA_PLATFORM=offscreen"; else env="QT_QPA_PLATFORM=xcb DISPLAY=:91"; fi
    floor=$(startup "$env" --empty)
    label=$(startup "$env" --label)
    ours=$(startup "$env" --prochnar)
    floor_mem=$(peak "$env" --empty)
    ours_mem=$(peak "$env" --prochnar)
    printf '| %s | %s ms | %s ms | %s ms | %.2f× | %s MiB | %s MiB | %.2f× |\n' "$platform" "$floor" "$label" "$ours" \
        "$(echo "$ours / $floor" | bc -l)" "$floor_mem" "$ours_mem" "$(echo "$ours_mem / $floor_mem" | bc -l)"
done

# Wall-clock start-up times on a shared virtual machine scatter; instructions
# counted by callgrind do not, for the same binaries and inputs.
if command -v valgrind >/dev/null; then
    echo
    echo "| Start-up to first paint, offscreen, instructions (callgrind) | Empty Qt window (floor) | One label of text | Прочнар | Ratio to floor | Ratio to one label |"
    echo "|---|---|---|---|---|---|"
    count() {
        (cd "$build/app" && QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --callgrind-out-file="$work/cg.out" \
            "$probe" "$1" 2>&1 | sed -n 's/.*Collected : //p')
    }
    empty_ir=$(count --empty)
    label_ir=$(count --label)
    ours_ir=$(count --prochnar)
    printf '| offscreen | %.1f M | %.1f M | %.1f M | %.2f× | %.2f× |\n' "$(echo "$empty_ir / 1000000" | bc -l)" \
        "$(echo "$label_ir / 1000000" | bc -l)" "$(echo "$ours_ir / 1000000" | bc -l)" \
        "$(echo "$ours_ir / $empty_ir" | bc -l)" "$(echo "$ours_ir / $label_ir" | bc -l)"
fi
