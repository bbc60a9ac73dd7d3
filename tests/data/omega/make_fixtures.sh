#!/bin/sh
# Regenerates the MOPAC outputs of the intensity-parameter tests from the two
# inputs beside this script ([Eu(H2O)5(NH3)3]3+ with skewed donors, AM1
# Sparkle): eu_o5n3.out from a single SCF, and eu_o5n3_force.out from a FORCE
# job, cut to what the force-constant route reads (everything up to the end of
# the first panel of the force matrix) and the closing lines of the run.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/eu_o5n3.mop" "$here/eu_o5n3_force.mop" "$work/"
mopac "$work/eu_o5n3" >/dev/null
mopac "$work/eu_o5n3_force" >/dev/null
for out in "$work/eu_o5n3.out" "$work/eu_o5n3_force.out"; do
    grep -q "== MOPAC DONE ==" "$out" || { echo "MOPAC failed on $out" >&2; exit 1; }
done
cp "$work/eu_o5n3.out" "$here/eu_o5n3.out"
awk '
    /FORCE MATRIX IN MILLIDYNES\/ANGSTROM/ { inMatrix = 1 }
    !cut { print }
    inMatrix && /^ -----/ { rows = 1; next }
    rows && NF == 0 { cut = 1; rows = 0 }
' "$work/eu_o5n3_force.out" > "$work/head.out"
# The closing box and the final lines, from the line above "JOB ENDED NORMALLY".
n=$(grep -n "JOB ENDED NORMALLY" "$work/eu_o5n3_force.out" | head -1 | cut -d: -f1)
tail -n +"$((n - 2))" "$work/eu_o5n3_force.out" > "$work/tail.out"
cat "$work/head.out" "$work/tail.out" > "$here/eu_o5n3_force.out"
