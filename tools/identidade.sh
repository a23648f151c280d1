#!/usr/bin/env bash
# The byte-identity set: 50 seeded keldo-run runs (every obstacle level, both generation kinds,
# mutation, fights, sharing, periodic saves), each writing a trace, a summary, a project and
# snapshots. Run it with the old and the new binary and compare: `diff -r OUT_OLD OUT_NEW`.
# Usage: tools/identidade.sh KELDO_RUN OUTDIR
set -u
[ $# -eq 2 ] || { echo "uso: tools/identidade.sh KELDO_RUN PASTA_NOVA" >&2; exit 2; }
bin=$(readlink -f "$1"); out=$2
# Never writes into a folder that holds anything already.
if [ -e "$out" ] && [ -n "$(ls -A "$out")" ]; then
  echo "identidade.sh: $out já existe e não está vazia" >&2; exit 2
fi
mkdir -p "$out"; cd "$out"
niveis=(0 10 20 30 40)
k=0
for nivel in "${niveis[@]}"; do
  for ger in 0 1; do
    for var in 0 1 2 3 4; do
      k=$((k+1))
      seed=$((7000 + k))
      extra=()
      case $var in
        0) extra=(--set mutacaoAtiva=1 --set taxaMutacao=5);;
        1) extra=(--set luta=1);;
        2) extra=(--set numIndividuos=300 --set qtdAlimento=200);;
        3) extra=(--set partilha=1 --set detecta=1 --set mutacaoAtiva=1);;
        4) extra=(--set salvarAtivo=1 --set salvarCiclos=50);;
      esac
      mkdir -p r$k; cd r$k
      "$bin" --seed $seed --cycles 150 --set nivelObstaculos=$nivel --set tipoGeracoes=$ger \
        "${extra[@]}" --trace trace.txt --summary resumo.txt --save proj.gen >status.txt 2>err.txt
      echo "rc=$?" >>status.txt
      cd ..
    done
  done
done
