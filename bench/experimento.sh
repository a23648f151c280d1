#!/usr/bin/env bash
# Speed of keldo-run --experiment: 40 runs of the default world with two
# jobs against the same 40 runs one after the other (--jobs 1), wall and CPU
# time of each, and their ratio (the aim: at most 0.6 on 2 free cores). The
# two tables must be byte-identical; the script says so. The machine's load
# average is printed first: on a shared machine the ratio means little.
#
# Usage: bench/experimento.sh BUILD_DIR
# Environment: EXECUCOES (40), CICLOS (20000, as the S row of run.sh), SEMENTE (1)
set -euo pipefail
BUILD=$(cd "${1:?"uso: bench/experimento.sh BUILD_DIR"}" && pwd)
RUN="$BUILD/bin/keldo-run"
EXECUCOES=${EXECUCOES:-40}
CICLOS=${CICLOS:-20000}
SEMENTE=${SEMENTE:-1}
trabalho=$(mktemp -d)
trap 'rm -rf "$trabalho"' EXIT

echo "carga antes: $(cut -d' ' -f1-3 /proc/loadavg); núcleos: $(nproc)"
medir() { # JOBS -> "parede cpu" in seconds
    /usr/bin/time -f "%e %U %S" -o "$trabalho/tempo" "$RUN" --experiment --seed "$SEMENTE" \
        --replicates "$EXECUCOES" --cycles "$CICLOS" --jobs "$1" \
        --table "$trabalho/j$1.csv" 2>/dev/null
    awk '{printf "%.2f %.2f", $1, $2 + $3}' "$trabalho/tempo"
}
read -r p1 c1 <<<"$(medir 1)"
read -r p2 c2 <<<"$(medir 2)"
printf "%-28s %10s %10s\n" "" "parede (s)" "CPU (s)"
printf "%-28s %10s %10s\n" "$EXECUCOES execuções, --jobs 1" "$p1" "$c1"
printf "%-28s %10s %10s\n" "$EXECUCOES execuções, --jobs 2" "$p2" "$c2"
echo "razão --jobs 2 / --jobs 1: $(awk -v a="$p2" -v b="$p1" 'BEGIN{printf "%.2f", a/b}')"
cmp -s "$trabalho/j1.csv" "$trabalho/j2.csv" && echo "tabelas idênticas" ||
    { echo "as tabelas diferem" >&2; exit 1; }
echo "carga depois: $(cut -d' ' -f1-3 /proc/loadavg)"
