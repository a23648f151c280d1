#!/usr/bin/env bash
# Instruction profile of one keldo-run binary: world K1000 of bench/mundos.sh for 1,000
# cycles, seed 1001, under valgrind's callgrind. Prints the instructions executed (Ir) of the
# whole process, the individual-cycles (adultos + ovos summed over the cycles, from the
# summary) and their quotient, then the top functions by self cost (instructions executed in
# the function's own body, callees excluded) and by inclusive cost (callees included).
# Instruction counts do not depend on the machine's load, so this runs well on a busy machine.
# A Release build has no line information: functions inlined by the compiler are counted
# in their callers.
#
# Usage: bench/callgrind.sh BINARIO
# Environment: CICLOS (1000), SEMENTE (1001), MUNDO (K1000), TOPO (10 functions),
#              SAIDA (keep callgrind's output file at this path)
set -euo pipefail
AQUI=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR
source "$AQUI/mundos.sh"

(($# == 1)) || { echo "uso: bench/callgrind.sh BINARIO" >&2; exit 2; }
BINARIO=$(realpath "$1")
CICLOS=${CICLOS:-1000}
SEMENTE=${SEMENTE:-1001}
MUNDO=${MUNDO:-K1000}
TOPO=${TOPO:-10}
for programa in "$BINARIO" valgrind callgrind_annotate; do
    command -v "$programa" >/dev/null || { echo "callgrind.sh: falta $programa (apt-get install valgrind)" >&2; exit 2; }
done

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
cd "$TMP"
SAIDA=${SAIDA:-$TMP/callgrind.out}

argumentos=()
mundo_argumentos "$MUNDO" "$CICLOS" argumentos
valgrind --tool=callgrind --callgrind-out-file="$SAIDA" "$BINARIO" --seed "$SEMENTE" \
    "${argumentos[@]}" --summary "$TMP/resumo.csv" >/dev/null 2>"$TMP/valgrind.txt" ||
    { cat "$TMP/valgrind.txt" >&2; exit 1; }

instrucoes=$(awk '/^(summary|totals):/ { print $2; exit }' "$SAIDA")
indciclos=$(individuos_ciclos "$TMP/resumo.csv")
echo "$(basename "$BINARIO"): mundo $MUNDO, $CICLOS ciclos, semente $SEMENTE"
echo "instruções: $instrucoes"
echo "indivíduos-ciclos: $indciclos"
awk -v i="$instrucoes" -v c="$indciclos" 'BEGIN { printf "instruções por indivíduo-ciclo: %.0f\n", i / c }'

# The function rows of callgrind_annotate (those after the "file:function" header), without
# the frames below main and the binaries' paths.
topo() {
    callgrind_annotate --inclusive="$1" "$SAIDA" 2>/dev/null |
        awk '/file:function/ { f = 1; next } f && NF && !/^-+$/' |
        grep -v -e '(below main)' -e 'ld-linux' -e '__libc_start_main' |
        sed -e 's/ \[[^]]*\]$//' -e 's/???://' | head -n "$TOPO" | cut -c1-160
}
echo
echo "As $TOPO funções de maior custo próprio (self, sem as chamadas):"
topo no
echo
echo "As $TOPO funções de maior custo inclusivo (com as chamadas):"
topo yes
