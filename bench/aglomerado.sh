#!/usr/bin/env bash
# CPU per cycle of a clustered world against a natural one of the same size: N founders on the
# L settings, every one an adult ready to mate, all on one spot (aglomerado) or where world
# creation put them (natural); with ALIMENTO=1 the clustered world has its food on the spot too.
# Each keldo-run binary given runs both worlds for CICLOS cycles; a --cycles 0 run (loading
# only) is taken off, and the quotient aglomerado/natural is printed (the target: at most 3).
# CPU time (user + sys) is the median of REPS runs. The worlds come from keldo_aglomerado.
#
# Usage: bench/aglomerado.sh BUILD_DIR KELDO_RUN...
# Environment: TAMANHOS ("20000 80000"), CICLOS (3), REPS (3), SEMENTE (1), ALIMENTO (0),
#              LIMITE seconds per run (1800)
set -euo pipefail
(($# >= 2)) || { echo "uso: bench/aglomerado.sh BUILD_DIR KELDO_RUN..." >&2; exit 2; }
CRIAR="$(cd "$1" && pwd)/bin/keldo_aglomerado"
shift
TAMANHOS=${TAMANHOS:-"20000 80000"}
CICLOS=${CICLOS:-3}
REPS=${REPS:-3}
SEMENTE=${SEMENTE:-1}
ALIMENTO=${ALIMENTO:-0}
LIMITE=${LIMITE:-1800}
for programa in "$CRIAR" "$@" /usr/bin/time; do
    [[ -x $programa ]] || { echo "aglomerado.sh: falta $programa" >&2; exit 2; }
done
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

mediana() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# cpu BINARY PROJECT CYCLES: median CPU seconds of REPS runs.
cpu() {
    local r
    for ((r = 0; r < REPS; r++)); do
        (cd "$TMP" && /usr/bin/time -f "%U %S" -o "$TMP/tempo" timeout "$LIMITE" \
            "$1" --seed "$SEMENTE" --cycles "$3" "$2" >/dev/null 2>&1) || { echo "aglomerado.sh: $1 $2 falhou" >&2; exit 1; }
        awk '{ print $1 + $2 }' "$TMP/tempo"
    done | mediana
}

tipo_aglomerado=aglomerado
((ALIMENTO)) && tipo_aglomerado=com-alimento
echo "carga antes: $(cut -d' ' -f1-3 /proc/loadavg); $CICLOS ciclos, mediana de $REPS; semente $SEMENTE"
printf '%-22s %8s %14s %14s %10s\n' binario N natural_s/ciclo aglom_s/ciclo aglom/nat
for n in $TAMANHOS; do
    "$CRIAR" criar "$n" "$SEMENTE" "$TMP/natural.gen" natural
    "$CRIAR" criar "$n" "$SEMENTE" "$TMP/aglomerado.gen" "$tipo_aglomerado"
    for binario in "$@"; do
        declare -A porCiclo=()
        for mundo in natural aglomerado; do
            zero=$(cpu "$binario" "$TMP/$mundo.gen" 0)
            total=$(cpu "$binario" "$TMP/$mundo.gen" "$CICLOS")
            porCiclo[$mundo]=$(awk -v t="$total" -v z="$zero" -v c="$CICLOS" 'BEGIN { v = (t - z) / c; printf "%.3f", v < 0 ? 0 : v }')
        done
        awk -v b="$(basename "$(dirname "$binario")")/$(basename "$binario")" -v n="$n" -v a="${porCiclo[natural]}" -v g="${porCiclo[aglomerado]}" \
            'BEGIN { printf "%-22s %8d %14.3f %14.3f %10s\n", substr(b, length(b) > 22 ? length(b) - 21 : 1), n, a, g, (a > 0) ? sprintf("%.2f", g / a) : "-" }'
    done
done
echo "carga depois: $(cut -d' ' -f1-3 /proc/loadavg)"
