#!/usr/bin/env bash
# Benchmarks of whole keldo-run processes, printed as one table:
#   S  the default world:           --seed 1 --cycles 20000
#   L  a large world:               --seed 1 --cycles 2000 numIndividuos=1000 qtdAlimento=2000
#                                   nivelObstaculos=30
#   G  a growing world:             L with repro_rr/Rr/RR=150 and --cycles 300
#   N=100/1000/10000  scaling:      worlds of N founders on the L settings, continued for
#                                   a few cycles; the start-up cost (a --cycles 0 run) is
#                                   taken off, so µs/ind-ciclo should stay flat when
#                                   time grows linearly with the population
#   J  the simulator's window:      cycles per second of the default world with the arena
#                                   redrawn after every cycle (offscreen; the 5 ms timer
#                                   allows at most 200), printed after the table
# Wall and CPU time are medians of REPS runs (CPU time tells more on a busy machine);
# peak memory is the largest of them. Individual-cycles
# (the size of `vivos` after each cycle, summed) and births come from one more run that
# saves the world, counted by keldo_contagem.
#
# Usage: bench/run.sh BUILD_DIR
# Environment: CARGAS rows to run ("S L G N J"), REPS (5), LIMITE seconds per run (900),
#              S_CICLOS (20000), L_CICLOS (2000), G_CICLOS (300), ESCALA ("100 1000 10000"),
#              ESCALA_CICLOS (5), J_SEGUNDOS (5)
set -euo pipefail

BUILD=${1:?"uso: bench/run.sh BUILD_DIR"}
BUILD=$(cd "$BUILD" && pwd)
RUN="$BUILD/bin/keldo-run"
CONTAGEM="$BUILD/bin/keldo_contagem"
CARGAS=" ${CARGAS:-S L G N J} "
REPS=${REPS:-5}
LIMITE=${LIMITE:-900}
S_CICLOS=${S_CICLOS:-20000}
L_CICLOS=${L_CICLOS:-2000}
G_CICLOS=${G_CICLOS:-300}
ESCALA=${ESCALA:-"100 1000 10000"}
ESCALA_CICLOS=${ESCALA_CICLOS:-5}
J_SEGUNDOS=${J_SEGUNDOS:-5}
for programa in "$RUN" "$CONTAGEM" /usr/bin/time; do
    [[ -x $programa ]] || { echo "run.sh: falta $programa (compile $BUILD primeiro)" >&2; exit 1; }
done

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
cd "$TMP" # a project with gerarTrace set would write keldo_trace.txt here

L=(--set numIndividuos=1000 --set qtdAlimento=2000 --set nivelObstaculos=30)
G=("${L[@]}" --set repro_rr=150 --set repro_Rr=150 --set repro_RR=150)

# One timed run: prints "wall_µs peak_KiB cpu_ms", "limite" when it passed LIMITE, or "erro".
uma_vez() {
    local inicio fim status=0 kib usuario sistema
    inicio=$(date +%s%N)
    /usr/bin/time -f "%M %U %S" -o "$TMP/rss" timeout "$LIMITE" "$RUN" "$@" >/dev/null || status=$?
    if ((status != 0)); then
        ((status == 124)) && { echo limite; return; }
        echo "run.sh: keldo-run $* saiu com $status" >&2
        echo erro
        return
    fi
    fim=$(date +%s%N)
    read -r kib usuario sistema < <(tail -n 1 "$TMP/rss")
    echo "$(((fim - inicio) / 1000)) $kib $(awk -v u="$usuario" -v s="$sistema" 'BEGIN { printf "%d", (u + s) * 1000 }')"
}

mediana() { sort -n | sed -n "$(((REPS + 1) / 2))p"; }

# REPS runs: prints "median_wall_µs peak_KiB median_cpu_ms", or why there is none.
medir() {
    local paredes=() cpus=() pico=0 r parede kib cpu
    for ((k = 0; k < REPS; k++)); do
        r=$(uma_vez "$@")
        if [[ $r == limite || $r == erro ]]; then
            echo "$r"
            return
        fi
        read -r parede kib cpu <<<"$r"
        paredes+=("$parede")
        cpus+=("$cpu")
        ((kib > pico)) && pico=$kib
    done
    echo "$(printf '%s\n' "${paredes[@]}" | mediana) $pico $(printf '%s\n' "${cpus[@]}" | mediana)"
}

# The counting run: "individual_cycles births final_population".
contar() {
    local inicio=$1
    shift
    rm -f "$TMP/contagem.gen"
    timeout "$LIMITE" "$RUN" "$@" --save "$TMP/contagem.gen" >/dev/null || { echo "- - -"; return; }
    "$CONTAGEM" contar "$TMP/contagem.gen" "$inicio"
}

printf '%-8s %7s %9s %8s %11s %14s %10s %9s %11s %10s\n' carga ciclos "tempo(s)" "cpu(s)" \
    ciclos/s ind-ciclos/s pico_MiB nasc/ciclo pop_final µs/ind-ciclo

# linha NAME CYCLES START BASE_µs ARGS...: measures and prints one row.
linha() {
    local nome=$1 ciclos=$2 inicio=$3 base=$4
    shift 4
    local m
    m=$(medir "$@")
    if [[ $m == limite ]]; then
        printf '%-8s %7s %9s  (passou de %s s)\n' "$nome" "$ciclos" - "$LIMITE"
        return
    elif [[ $m == erro ]]; then
        printf '%-8s %7s %9s  (falhou)\n' "$nome" "$ciclos" -
        return
    fi
    read -r us pico cpu <<<"$m"
    read -r indciclos nasc pop <<<"$(contar "$inicio" "$@")"
    awk -v n="$nome" -v c="$ciclos" -v us="$us" -v cpu="$cpu" -v base="$base" -v kib="$pico" \
        -v ic="$indciclos" -v nasc="$nasc" -v pop="$pop" 'BEGIN {
        util = us - base; if (util <= 0) util = 1
        icps = (ic == "-") ? "-" : sprintf("%.0f", ic / (util / 1e6))
        por = (ic == "-" || ic == 0) ? "-" : sprintf("%.3f", util / ic)
        nc = (nasc == "-") ? "-" : sprintf("%.1f", nasc / c)
        printf "%-8s %7d %9.3f %8.3f %11.0f %14s %10.1f %9s %11s %10s\n", n, c, us / 1e6,
            cpu / 1e3, c / (util / 1e6), icps, kib / 1024, nc, pop, por
    }'
}

[[ $CARGAS == *" S "* ]] && linha S "$S_CICLOS" 0 0 --seed 1 --cycles "$S_CICLOS"
[[ $CARGAS == *" L "* ]] && linha L "$L_CICLOS" 0 0 --seed 1 --cycles "$L_CICLOS" "${L[@]}"
[[ $CARGAS == *" G "* ]] && linha G "$G_CICLOS" 0 0 --seed 1 --cycles "$G_CICLOS" "${G[@]}"
[[ $CARGAS == *" N "* ]] || ESCALA=""
for n in $ESCALA; do
    "$CONTAGEM" criar "$n" 1 "$TMP/escala$n.gen"
    read -r base _ <<<"$(medir --seed 1 --cycles 0 "$TMP/escala$n.gen")"
    linha "N=$n" "$ESCALA_CICLOS" 0 "$base" --seed 1 --cycles "$ESCALA_CICLOS" "$TMP/escala$n.gen"
done
echo "S, L, G: processo inteiro. N=...: ciclos/s e ind-ciclos/s sem o custo de partida e carga."
if [[ $CARGAS == *" J "* ]]; then
    JANELA="$BUILD/bin/keldo_ritmo_janela"
    if [[ -x $JANELA ]]; then
        # Medians of REPS runs: a loaded machine loses ticks, so this is no pass/fail test.
        ritmos=()
        for ((k = 0; k < REPS; k++)); do ritmos+=("$("$JANELA" "$J_SEGUNDOS" 2>/dev/null)"); done
        echo "J: janela com redesenho a cada ciclo: $(printf '%s\n' "${ritmos[@]}" | mediana) ciclos/s (teto do timer de 5 ms: 200)"
        read -r _ replots <<<"$("$JANELA" "$J_SEGUNDOS" graficos 2>/dev/null)"
        echo "J: com os gráficos abertos: $replots redesenhos dos gráficos/s (teto: 20)"
    else
        echo "J: falta $JANELA (compile com Qt)"
    fi
fi
