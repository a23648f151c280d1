#!/usr/bin/env bash
# Pictures of a classroom's projector: the simulator and its chart window
# (population, one gene, heterozygosity), then the presentation mode, on a
# 1024×768 screen run by openbox,
# a window manager that decorates and places windows as a desktop does.
#   tools/captura-aula.sh [PASTA_DOS_PROGRAMAS] [PASTA_DE_SAIDA]
# Needs xvfb, openbox, xdotool and imagemagick (apt-get install xvfb openbox
# xdotool imagemagick) and the programs built (keldo and keldo-run).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/bin}
saida=${2:-build/capturas}
mkdir -p "$saida"
trabalho=$(mktemp -d)
trap 'for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; sleep 1; done; rm -rf "$trabalho"' EXIT
pids=()

# The drift exercise's world: 40 individuals, discrete generations of 40.
"$bin/keldo-run" --seed 7 --cycles 400 --set tipoGeracoes=1 --set numIndDiscretas=40 \
  --set numIndividuos=40 --set qtdAlimento=40 --save "$trabalho/deriva.gen" >/dev/null

Xvfb :96 -screen 0 1024x768x24 -nolisten tcp &
pids+=($!)
export DISPLAY=:96 XDG_RUNTIME_DIR=$trabalho HOME=$trabalho
sleep 2
openbox --sm-disable &
pids+=($!)
sleep 2
"$bin/keldo" "$trabalho/deriva.gen" &
pids+=($!)
principal=$(xdotool search --sync --onlyvisible --name "KELDO: deriva")
xdotool windowfocus --sync "$principal"
sleep 1
xdotool key ctrl+i   # Iniciar
sleep 3
xdotool key ctrl+g   # Gráficos, placed by the program itself
graficos=$(xdotool search --sync --onlyvisible --name "Gráficos")
sleep 1
xdotool windowfocus --sync "$graficos"
xdotool key alt+h    # Heterozigose do gene selecionado: the third panel
sleep 6
import -window root "$saida/aula-1024x768.png"
echo "gravado $saida/aula-1024x768.png"

# The presentation mode (F11) going on with the run, 200 cycles a redraw.
xdotool windowfocus --sync "$principal"
xdotool key F11
sleep 2
xdotool key ctrl+a
xdotool type 200
xdotool key Return
sleep 5
import -window root "$saida/apresentacao-1024x768.png"
echo "gravado $saida/apresentacao-1024x768.png"
