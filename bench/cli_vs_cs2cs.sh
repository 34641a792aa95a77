#!/usr/bin/env bash
# The command-line host beside cs2cs on random points over the British National Grid's area of
# use (lon -8.82..1.92, lat 49.79..60.94, fixed seed): whole processes, the two commands in
# turn, five pairs. Prints the median CPU time (user + system), the ratio and the peak
# resident memory of each, after checking that the outputs agree to the printed precision.
#   bench/cli_vs_cs2cs.sh [BIN_DIR]     (default build/bin, built when missing)
#   POINTS=100000 bench/cli_vs_cs2cs.sh  fewer points
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/bin}
points=${POINTS:-1000000}
pairs=5

missing=()
command -v cs2cs >/dev/null || missing+=(proj-bin)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
if [ ! -x "$bin/geoxform" ]; then
    cmake -S . -B build -G Ninja >/dev/null
    cmake --build build --target geoxform_cli
    bin=build/bin
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work" "$points" <<'EOF'
import random, sys
work, n = sys.argv[1], int(sys.argv[2])
r = random.Random(27700)
with open(work + "/lonlat.txt", "w") as lonlat, open(work + "/latlon.txt", "w") as latlon, \
        open(work + "/points.csv", "w") as csv:
    csv.write("id,lon,lat\n")
    for i in range(n):
        lon, lat = "%.8f" % r.uniform(-8.82, 1.92), "%.8f" % r.uniform(49.79, 60.94)
        lonlat.write(lon + " " + lat + "\n")
        latlon.write(lat + " " + lon + "\n")
        csv.write("%d,%s,%s\n" % (i, lon, lat))
EOF
cs2cs -f %.3f EPSG:4277 EPSG:27700 <"$work/latlon.txt" | cut -f1,2 | cut -d' ' -f1 >"$work/en.txt"

# run NAME INPUT COMMAND...: one timed run; appends "cpu rss" to $work/NAME.times.
run() {
    local name=$1 input=$2
    shift 2
    if /usr/bin/time -f '%U %S %M' -o "$work/time" "$@" <"$input" >"$work/$name.out" 2>/dev/null ||
        [ -s "$work/$name.out" ]; then
        awk '{printf "%.3f %d\n", $1 + $2, $3}' "$work/time" >>"$work/$name.times"
    else
        echo "failed" >>"$work/$name.times"
    fi
}

# The outputs agree to the printed precision: within the tolerance plus one unit in the last
# place, for every line. Columns are picked from each output (1-based).
agree() { # NAME TOLERANCE ULP COLUMNS_OF_GEOXFORM COLUMNS_OF_CS2CS
    /usr/bin/python3 - "$work/geoxform_$1.out" "$work/cs2cs_$1.out" "$2" "$3" "$4" "$5" <<'EOF'
import re, sys
a, b, tol, ulp = sys.argv[1], sys.argv[2], float(sys.argv[3]), float(sys.argv[4])
ca, cb = [[int(c) - 1 for c in s.split(",")] for s in sys.argv[5:7]]
split = re.compile(r"[\s,]+")
worst, n = 0.0, 0
with open(a) as fa, open(b) as fb:
    if a.endswith("csv.out"): next(fa)
    for la, lb in zip(fa, fb):
        wa, wb = split.split(la.strip()), split.split(lb.strip())
        for i, j in zip(ca, cb):
            worst = max(worst, abs(float(wa[i]) - float(wb[j])))
        n += 1
ok = worst <= tol + ulp
print("%-4s %d lines, largest difference %.3g (allowed %.3g): %s" % (
    sys.argv[1].split("_")[-1][:-4], n, worst, tol + ulp, "agree" if ok else "DIFFER"))
sys.exit(0 if ok else 1)
EOF
}

for ((i = 0; i < pairs; ++i)); do
    run geoxform_fwd "$work/lonlat.txt" "$bin/geoxform" fwd 27700
    run cs2cs_fwd "$work/latlon.txt" cs2cs -f %.3f EPSG:4277 EPSG:27700
    run geoxform_inv "$work/en.txt" "$bin/geoxform" inv 27700
    run cs2cs_inv "$work/en.txt" cs2cs -f %.8f EPSG:27700 EPSG:4277
    run geoxform_csv "$work/points.csv" "$bin/geoxform" fwd 27700 --csv
    run cs2cs_csv "$work/latlon.txt" cs2cs -f %.3f EPSG:4277 EPSG:27700
done

status=0
echo "$points points, median of $pairs runs each"
agree fwd 0.001 0.001 1,2 1,2 || status=1
agree inv 1e-8 1e-8 1,2 2,1 || status=1
[ -s "$work/geoxform_csv.out" ] && { agree csv 0.001 0.001 4,5 1,2 || status=1; }

median() { # NAME: "cpu rss" of the median CPU time and the largest peak, or "failed"
    grep -q failed "$work/$1.times" && { echo "failed"; return; }
    sort -n "$work/$1.times" | awk '{cpu[NR] = $1; if ($2 > rss) rss = $2}
        END {printf "%s %d\n", cpu[int((NR + 1) / 2)], rss}'
}
printf '\n%-28s %10s %10s %8s %12s %12s\n' "case" "geoxform s" "cs2cs s" "ratio" "geoxform RSS" "cs2cs RSS"
label() { case $1 in fwd) echo "fwd 27700" ;; inv) echo "inv 27700" ;; csv) echo "fwd 27700 --csv" ;; esac; }
for c in fwd inv csv; do
    read -r g grss <<<"$(median geoxform_$c)"
    read -r p prss <<<"$(median cs2cs_$c)"
    if [ "$g" = failed ]; then
        printf '%-28s %10s %10s %8s %12s %12s\n' "$(label $c)" "failed" "$p" "-" "-" "$prss kB"
    else
        printf '%-28s %10s %10s %8s %12s %12s\n' "$(label $c)" "$g" "$p" \
            "$(awk -v a="$p" -v b="$g" 'BEGIN {printf "%.1f", (b > 0 ? a / b : 0)}')" \
            "$grss kB" "$prss kB"
    fi
done
exit $status
