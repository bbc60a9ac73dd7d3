#!/bin/sh
# Regenerates every MOPAC output of this folder from the input beside it with
# the installed mopac (Debian package "mopac", MOPAC 22), then removes the side
# files that no test reads. Run it from anywhere: sh tests/data/mopac/regenerate.sh
#
# The outputs hold the date of the run; the geometries and energies do not
# change between runs of the same MOPAC build. eu_acetate3_h2o2_timeup stops on
# its time limit (T=0.05), so how far it gets depends on the machine; it must
# still print "THE CALCULATION IS BEING DUMPED TO DISK".
set -eu
cd "$(dirname "$0")"
for input in *.mop; do
    name=${input%.mop}
    rm -f "$name.out"
    mopac "$name" >/dev/null   # relative, so that no machine path enters the outputs
    grep -q "== MOPAC DONE ==" "$name.out" || { echo "mopac did not finish $input" >&2; exit 1; }
    rm -f "$name.arc" "$name.res" "$name.den" "$name.aux" "$name.log"
done
rm -f "MOPAC Error message.txt"
