#!/usr/bin/env bash
# The main job on the shipped data: a real system's record, and sample points projected and
# brought back, through the command-line host.
set -euo pipefail
bin=${1:-build/bin}
run() { echo "\$ geoxform $*"; "$bin/geoxform" "$@"; echo; }

run info 27700
echo "\$ printf 'lon lat name' | geoxform fwd 27700"
printf '%s\n' "-0.1276 51.5072 London" "-3.1883 55.9533 Edinburgh" "-5.7150 50.0657 Land's_End" |
    "$bin/geoxform" fwd 27700
echo
echo "\$ geoxform fwd 27700 --csv   # a header row; the converted values appended"
printf '%s\n' "name,lat,lon" "London,51.5072,-0.1276" "\"Land's End, Cornwall\",50.0657,-5.7150" |
    "$bin/geoxform" fwd 27700 --csv
echo
run inv 27700 530034.185 180381.141 --dms --precision 3
run fwd 2154 2.3522 48.8566
run fwd 32632 9.1859 45.4642
run sheet 27700 --scale 25000 --units Meter 16000 -4000 21201.3667 7215.2456
echo "\$ geoxform_example   # the README's host example"; "$bin/geoxform_example"
