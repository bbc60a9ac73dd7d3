#!/usr/bin/env bash
# Times ORVANE beside Open Babel (obabel) and, when it is installed, cclib on
# the same MOPAC outputs: reading the final geometry, and writing the
# Z-matrix. Files are made from tests/data/mopac/water.out with many atoms
# and a long optimisation log, in a temporary folder removed at the end.
# CPU time (user + system) of one run of each, so a loaded machine skews the
# ratios less than wall time would; ratios above 1 mean ORVANE is faster.
# A peer still running after PEER_TIMEOUT seconds (default 300) is stopped.
#
#   scripts/bench/compare_peers.sh [build folder, default build/default]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/default}
bench="$build/bench/bench_peers"
if [[ ! -x "$bench" ]]; then
  echo "Build $bench first: cmake --build --preset default --target bench_peers" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

exec /usr/bin/python3 - "$bench" "$work" <<'PY'
import os, random, re, resource, shutil, subprocess, sys

bench, work = sys.argv[1], sys.argv[2]
template = open("tests/data/mopac/water.out").read().split("\n")

def mopac_output(atoms, padding_bytes, path):
    """water.out with `atoms` atoms (a folded random walk at the density of
    organic matter) in each of its three geometry tables, and optimisation
    cycles repeated until the file holds about padding_bytes more."""
    rng = random.Random(7)
    box = (10.0 * atoms) ** (1 / 3)
    x = y = z = box / 2
    rows = []
    for i in range(atoms):
        dx, dy, dz = (rng.gauss(0, 1) for _ in range(3))
        n = (dx * dx + dy * dy + dz * dz) ** 0.5 + 1e-12
        x, y, z = ((v + 1.5 * d / n) % box for v, d in ((x, dx), (y, dy), (z, dz)))
        rows.append((("C", "H", "O", "H")[i % 4], x, y, z))
    out, table = [], None
    cycle = next(l for l in template if l.startswith(" CYCLE:"))
    for line in template:
        if re.match(r"^\s+1\s+O\s+0\.0000\s+0\.0000", line):
            table = "input"
        elif re.match(r"^\s+1\s+O\s+0\.00179894\s+\*", line):
            table = "final"
        elif re.match(r"^\s+1\s+O\s+0\.001798938\s", line):
            table = "cartesian"
        elif table and not line.strip():
            table = None
        if table is None:
            out.append(line)
            if line.startswith(" CYCLE:     6"):
                out.extend([cycle] * (padding_bytes // (len(cycle) + 1)))
            continue
        if re.match(r"^\s+1\s", line):
            for i, (s, a, b, c) in enumerate(rows, 1):
                if table == "input":
                    out.append(f"{i:6d}         {s:<2s}    {a:12.4f}{b:12.4f}{c:12.4f}")
                elif table == "final":
                    out.append(f"{i:6d}       {s:<2s}    {a:14.8f}  *{b:13.8f}  *{c:13.8f}  *")
                else:
                    out.append(f"{i:4d}    {s:<2s}  {a:15.9f} {b:15.9f} {c:15.9f}")
    open(path, "w").write("\n".join(out))
    return path

timeout = float(os.environ.get("PEER_TIMEOUT", "300"))

def cpu_of(command, env=None):
    """CPU seconds of the command and its result; None for the result when
    it ran past PEER_TIMEOUT seconds of wall time and was stopped."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    try:
        done = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                              timeout=timeout)
    except subprocess.TimeoutExpired:
        done = None
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    seconds = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return seconds, done

def row(label, task, mine, peer, theirs, done):
    mark = ">" if done is None else " "
    ratio = f"{mark}{theirs / mine:6.1f}" if mine else "    n/a"
    print(f"{label:28s} {task:12s} {mine or float('nan'):9.3f} {peer:>8s} {mark}{theirs:8.3f} {ratio}", flush=True)

def orvane(name, path):
    env = dict(os.environ, ORVANE_PEER_MOPAC_OUTPUT=path)
    _, done = cpu_of([bench, f"--benchmark_filter=^{name}/", "--benchmark_format=csv"], env)
    for line in done.stdout.splitlines():
        if line.startswith('"' + name):
            fields = line.split(",")
            if len(fields) > 8 and fields[8]:
                return None  # skipped with an error
            return float(fields[3]) / 1000.0  # cpu_time, ms
    return None

cclib = subprocess.run(["/usr/bin/python3", "-c", "import cclib"], stderr=subprocess.DEVNULL).returncode == 0
cases = [("50 MB output, 4,500 atoms", 4500, 50 << 20), ("4,500 atoms", 4500, 0),
         ("36,000 atoms", 36000, 0), ("130,000 atoms", 130000, 0)]
print(f"{'file':28s} {'task':12s} {'ORVANE s':>9s} {'peer':>8s} {'peer s':>9s} {'ratio':>7s}", flush=True)
for label, atoms, padding in cases:
    path = mopac_output(atoms, padding, os.path.join(work, f"peer_{atoms}_{padding}.out"))
    mine = orvane("BM_PeerReadMopacOutput", path)
    peers = [("obabel", ["obabel", "-imoo", path, "-oxyz", "-O", os.path.join(work, "peer.xyz")])]
    if cclib:
        peers.append(("cclib", ["/usr/bin/python3", "-c", f"import cclib; cclib.io.ccread({path!r})"]))
    for peer, command in peers:
        theirs, done = cpu_of(command)
        row(label, "read", mine, peer, theirs, done)
    if padding == 0:
        mine = orvane("BM_PeerMopacOutputToZMatrix", path)
        theirs, done = cpu_of(["obabel", "-imoo", path, "-omopin", "-O", os.path.join(work, "peer.mopin")])
        row(label, "to Z-matrix", mine, "obabel", theirs, done)
    os.remove(path)
if not cclib:
    print("cclib is not installed: its column is left out.")
print("ORVANE: CPU time per run (mean of 3); peers: CPU time of one run, start-up included;")
print(f"'>' marks a peer stopped after PEER_TIMEOUT = {timeout:g} s of wall time.")
PY
