# shellcheck shell=bash disable=SC2034
# The worlds of the per-individual speed targets, shared by bench/comparar.sh and
# bench/callgrind.sh (source this file; it defines names only):
#   K1000  --cycles 3000  numIndividuos=1000 qtdAlimento=40   nivelObstaculos=30  (600 to 3,000 living)
#   K5000  --cycles 2000  numIndividuos=1000 qtdAlimento=60   nivelObstaculos=30  (grows to 5,000)
#   D      --cycles 20000 the default world
#   C      --cycles 200   numIndividuos=1000 qtdAlimento=2000 nivelObstaculos=30  (past 100,000)
# each run with seeds 1001 to 1005 and --summary. Individual-cycles are read from the summary.
# (SC2034: the names are used by the scripts that source this file.)

MUNDOS_TODOS="K1000 K5000 D C"
SEMENTES_TODAS="1001 1002 1003 1004 1005"
declare -A MUNDO_CICLOS=([K1000]=3000 [K5000]=2000 [D]=20000 [C]=200)
declare -A MUNDO_AJUSTES=(
    [K1000]="numIndividuos=1000 qtdAlimento=40 nivelObstaculos=30"
    [K5000]="numIndividuos=1000 qtdAlimento=60 nivelObstaculos=30"
    [D]=""
    [C]="numIndividuos=1000 qtdAlimento=2000 nivelObstaculos=30"
)

# mundo_argumentos NAME CYCLES ARRAY: fills ARRAY with the keldo-run arguments of world NAME
# run for CYCLES cycles (seed and --summary are the caller's).
mundo_argumentos() {
    local -n destino=$3
    [[ -n ${MUNDO_CICLOS[$1]+x} ]] || { echo "mundo desconhecido: $1 (há: $MUNDOS_TODOS)" >&2; return 1; }
    destino=(--cycles "$2")
    local ajuste
    for ajuste in ${MUNDO_AJUSTES[$1]}; do destino+=(--set "$ajuste"); done
}

# mundo_ciclos NAME SCALE: the world's cycles times SCALE (a smoke test shortens every world), at least 1.
mundo_ciclos() {
    awk -v c="${MUNDO_CICLOS[$1]}" -v e="$2" 'BEGIN { n = int(c * e + 0.5); print (n < 1) ? 1 : n }'
}

# individuos_ciclos SUMMARY: adultos + ovos summed over the cycles (the first data line is the
# state before the first cycle and is left out). Columns are found by their header names.
individuos_ciclos() {
    awk -F';' 'NR == 1 { for (i = 1; i <= NF; i++) col[$i] = i
                         if (!("adultos" in col) || !("ovos" in col)) { print "resumo sem adultos/ovos" > "/dev/stderr"; erro = 1; exit 1 }
                         next }
               NR > 2 { soma += $col["adultos"] + $col["ovos"] }
               END { if (erro) exit 1; printf "%.0f\n", soma }' "$1"
}
