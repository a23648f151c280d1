#!/usr/bin/env bash
# Two keldo-run binaries side by side on the worlds of bench/mundos.sh (K1000, K5000, D, C),
# e.g. today's main against a branch, both built the same way (Release). For every repetition,
# world and seed the two run one right after the other (ANTIGO, NOVO, ANTIGO, NOVO, ...), so a
# change in the machine's load hits both alike. A world's CPU time (user + sys) in one
# repetition is the sum over its seeds; the table gives the median over the repetitions, the
# individual-cycles per CPU second it makes, their ratio NOVO/ANTIGO (above 1: NOVO is faster),
# the largest peak memory (max RSS) of any single run and the median peak over the runs (a
# run's peak moves by about 0.1 MiB from run to run with address layout alone).
# Every summary must be byte-identical to the first ANTIGO summary of the same world and seed,
# for both binaries and every repetition; the first difference stops the script with status 1.
# The table goes to standard output, progress to standard error. CPU time comes in hundredths
# of a second, so a small ESCALA checks the script and the bytes, not the speed.
#
# Usage: bench/comparar.sh BINARIO_ANTIGO BINARIO_NOVO
# Environment: MUNDOS ("K1000 K5000 D C"), SEMENTES ("1001 1002 1003 1004 1005"), REPS (5),
#              ESCALA (1; multiplies every world's cycles, e.g. 0.01 for a smoke test),
#              LIMITE seconds per run (3600)
set -euo pipefail
AQUI=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR
source "$AQUI/mundos.sh"

USO="uso: bench/comparar.sh BINARIO_ANTIGO BINARIO_NOVO"
(($# == 2)) || { echo "$USO" >&2; exit 2; }
ANTIGO=$(realpath "$1")
NOVO=$(realpath "$2")
MUNDOS=${MUNDOS:-$MUNDOS_TODOS}
SEMENTES=${SEMENTES:-$SEMENTES_TODAS}
REPS=${REPS:-5}
ESCALA=${ESCALA:-1}
LIMITE=${LIMITE:-3600}
for programa in "$ANTIGO" "$NOVO" /usr/bin/time; do
    [[ -x $programa ]] || { echo "comparar.sh: falta $programa" >&2; exit 2; }
done

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
cd "$TMP" # a project with gerarTrace set would write keldo_trace.txt here

# rodar BINARY SUMMARY SEED ARGS...: one timed run; sets CPU (s) and KIB (peak).
rodar() {
    local binario=$1 resumo=$2 semente=$3 status=0
    shift 3
    /usr/bin/time -f "%U %S %M" -o "$TMP/tempo" timeout "$LIMITE" \
        "$binario" --seed "$semente" "$@" --summary "$resumo" >/dev/null 2>"$TMP/erros" || status=$?
    if ((status != 0)); then
        echo "comparar.sh: $binario --seed $semente $* saiu com $status" >&2
        cat "$TMP/erros" >&2
        exit 1
    fi
    read -r CPU KIB < <(tail -n 1 "$TMP/tempo" | awk '{ printf "%.2f %d\n", $1 + $2, $3 }')
}

# conferir REFERENCE SUMMARY WHO WORLD SEED: stops the script when the two files differ.
conferir() {
    cmp -s "$1" "$2" && return
    echo "comparar.sh: O RESUMO MUDOU: $3, mundo $4, semente $5 (primeira diferença abaixo)" >&2
    cmp "$1" "$2" >&2 || true
    diff "$1" "$2" | head -n 6 | cut -c1-160 >&2 || true
    exit 1
}

mediana() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "carga antes: $(cut -d' ' -f1-3 /proc/loadavg); núcleos: $(nproc)"
echo "ANTIGO: $ANTIGO"
echo "NOVO:   $NOVO"
echo "sementes: $SEMENTES; $REPS repetições; escala dos ciclos: $ESCALA"
printf '%-6s %6s %12s %9s %9s %13s %13s %9s %8s %8s %8s %8s\n' mundo ciclos ind-ciclos \
    cpu_ant cpu_novo ind-ciclos/s ind-ciclos/s novo/ant pico_ant pico_nov med_ant med_nov
printf '%-6s %6s %12s %9s %9s %13s %13s %9s %8s %8s %8s %8s\n' "" "" "" "(s)" "(s)" ANTIGO NOVO \
    "" "(MiB)" "(MiB)" "(MiB)" "(MiB)"

comparados=0
for mundo in $MUNDOS; do
    ciclos=$(mundo_ciclos "$mundo" "$ESCALA")
    argumentos=()
    mundo_argumentos "$mundo" "$ciclos" argumentos
    tempos_ant=()
    tempos_nov=()
    pico_ant=0
    pico_nov=0
    picos_ant=()
    picos_nov=()
    for ((r = 1; r <= REPS; r++)); do
        echo "  $mundo: repetição $r de $REPS" >&2
        soma_ant=0
        soma_nov=0
        for semente in $SEMENTES; do
            referencia="$TMP/ref-$mundo-$semente.csv"
            rodar "$ANTIGO" "$TMP/antigo.csv" "$semente" "${argumentos[@]}"
            soma_ant=$(awk -v a="$soma_ant" -v b="$CPU" 'BEGIN { print a + b }')
            ((KIB > pico_ant)) && pico_ant=$KIB
            picos_ant+=("$KIB")
            ((r == 1)) && cp "$TMP/antigo.csv" "$referencia"
            conferir "$referencia" "$TMP/antigo.csv" "ANTIGO contra si mesmo" "$mundo" "$semente"
            rodar "$NOVO" "$TMP/novo.csv" "$semente" "${argumentos[@]}"
            soma_nov=$(awk -v a="$soma_nov" -v b="$CPU" 'BEGIN { print a + b }')
            ((KIB > pico_nov)) && pico_nov=$KIB
            picos_nov+=("$KIB")
            conferir "$referencia" "$TMP/novo.csv" "NOVO contra ANTIGO" "$mundo" "$semente"
            comparados=$((comparados + 2))
        done
        tempos_ant+=("$soma_ant")
        tempos_nov+=("$soma_nov")
    done
    indciclos=0
    for semente in $SEMENTES; do
        indciclos=$((indciclos + $(individuos_ciclos "$TMP/ref-$mundo-$semente.csv")))
    done
    awk -v m="$mundo" -v c="$ciclos" -v ic="$indciclos" -v ta="$(printf '%s\n' "${tempos_ant[@]}" | mediana)" \
        -v tn="$(printf '%s\n' "${tempos_nov[@]}" | mediana)" -v pa="$pico_ant" -v pn="$pico_nov" \
        -v ma="$(printf '%s\n' "${picos_ant[@]}" | mediana)" \
        -v mn="$(printf '%s\n' "${picos_nov[@]}" | mediana)" 'BEGIN {
        ra = (ta > 0) ? sprintf("%.0f", ic / ta) : "-"
        rn = (tn > 0) ? sprintf("%.0f", ic / tn) : "-"
        razao = (ta > 0 && tn > 0) ? sprintf("%.2f", ta / tn) : "-"
        printf "%-6s %6d %12d %9.2f %9.2f %13s %13s %9s %8.1f %8.1f %8.2f %8.2f\n", m, c, ic, ta,
            tn, ra, rn, razao, pa / 1024, pn / 1024, ma / 1024, mn / 1024
    }'
done
echo "resumos idênticos byte a byte: $comparados execuções conferidas"
echo "carga depois: $(cut -d' ' -f1-3 /proc/loadavg)"
