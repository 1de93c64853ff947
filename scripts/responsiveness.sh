#!/bin/bash
# How long the program's main window takes at most to answer (WM_NULL, as
# Windows asks before it greys a window out), under Wine: through the demo
# playlist, in every scenario of the volume matrix, during a slow update
# download and while it reads a music folder of 20,000 files. Ends on purpose
# (File > Exit, log-off, Zelmor, an update's hand-over) are left out: they may
# block while Spotify is given back. Prints figures against the goal; asserts
# nothing (exits 1 only when something could not run).
#   scripts/responsiveness.sh [--program EXE]
# --program measures another exe (e.g. an earlier commit's, as
# scripts/bench-program.sh builds them); the update case always runs the
# update copies this tree builds, which take updates signed with the tests' key.
# The tools' whole outputs are kept in build/responsiveness/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/windows-build.sh demo_runner volume_matrix responsiveness adquell_lite
. scripts/wine-env.sh
trap wine_env_down EXIT
wine_env_up build/windows >/dev/null
program=()
[ "${1:-}" = "--program" ] && program=(--program "$(winepath -w "$2")")
logs="$root/build/responsiveness"
mkdir -p "$logs"

# Each tool has a deadline; its exit code judges volumes or adverts, not
# answers, so only its figures are read.
timeout 900 wine build/windows/bin/demo_runner.exe "$(winepath -w tools/demo/demo-playlist.txt)" "${program[@]}" \
  > "$logs/demo.log" 2>&1 || true
timeout 1800 wine build/windows/bin/volume_matrix.exe "${program[@]}" > "$logs/volume-matrix.log" 2>&1 || true
timeout 600 wine build/windows/bin/responsiveness.exe "${program[@]}" > "$logs/responsiveness.log" 2>&1 || true

python3 - "$logs" <<'EOF'
import re, sys
logs = sys.argv[1]
def read(name):
    try:
        return open(f"{logs}/{name}", encoding="utf-8", errors="replace").read()
    except OSError:
        return ""
rows, missing = [], []
m = re.search(r"main window: longest wait for an answer (\d+) ms", read("demo.log"))
rows.append(("demo playlist", m.group(1) if m else None))
# The matrix's rows: the name in the first 48 columns, then the figures; the
# longest wait is the figure just before the result (ok or FAILED).
matrix = read("volume-matrix.log")
scenarios = 0
for line in matrix.splitlines():
    m = re.match(r"^(.{48}) .*? (\d+|-) +(ok|FAILED)\b", line)
    if m and not line.startswith("scenario "):
        scenarios += 1
        rows.append(("matrix: " + m.group(1).strip(), m.group(2) if m.group(2) != "-" else None))
if scenarios == 0:
    rows.append(("volume matrix", None))
bench = read("responsiveness.log")
for name in ("slow update (1 KB/s, 5 s)", "music folder of 20,000 files"):
    m = re.search(re.escape(name) + r": longest wait for an answer (\d+) ms", bench)
    rows.append((name, m.group(1) if m else None))
print("main window: longest wait for an answer (goal: \u2264 100 ms)")
for name, ms in rows:
    print(f"  {name:<58} {ms + ' ms' if ms else 'not measured'}")
verdict = re.search(r"volume safety: .*", matrix)
if verdict:
    print(f"(the matrix's own judgement: {verdict.group(0)})")
print(f"whole outputs: {logs}/")
sys.exit(1 if any(ms is None for _, ms in rows) else 0)
EOF
