#!/usr/bin/env bash
# Makes the README's picture docs/keldo.png again: the simulator running a
# world with its chart window beside it, on a virtual X screen.
#   tools/captura-readme.sh [PASTA_DOS_PROGRAMAS] [SAIDA.png]
# Needs xvfb, xdotool and imagemagick (apt-get install xvfb xdotool imagemagick)
# and the programs built (make run builds keldo; keldo-run comes with make test).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/bin}
saida=${2:-docs/keldo.png}
trabalho=$(mktemp -d)
# The programs end before the X server they draw on.
trap 'for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; sleep 1; done; rm -rf "$trabalho"' EXIT
pids=()

# A world some generations old, so the curves have somewhere to go.
"$bin/keldo-run" --seed 7 --cycles 1500 --save "$trabalho/aula.gen" >/dev/null

Xvfb :97 -screen 0 1800x900x24 -nolisten tcp &
pids+=($!)
export DISPLAY=:97 XDG_RUNTIME_DIR=$trabalho HOME=$trabalho
sleep 2
"$bin/keldo" "$trabalho/aula.gen" &
pids+=($!)
principal=$(xdotool search --sync --onlyvisible --name "KELDO: aula")
xdotool windowmove "$principal" 0 0 windowfocus --sync "$principal"
xdotool key ctrl+i   # Iniciar
sleep 6
xdotool key ctrl+g   # Gráficos
graficos=$(xdotool search --sync --onlyvisible --name "Gráficos")
xdotool windowmove "$graficos" 650 0
sleep 6
# Just the two windows, cut from the screen.
eval "$(xdotool getwindowgeometry --shell "$graficos")"
largura=$((650 + WIDTH))
altura=$((HEIGHT > 520 ? HEIGHT : 520))
# Stripped of dates and names, in 256 colours: a small file in the repository.
import -window root -crop "${largura}x${altura}+0+0" +repage "$trabalho/tela.png"
convert "$trabalho/tela.png" -strip +dither -colors 256 "PNG8:$saida"
echo "gravado $saida ($(stat -c %s "$saida") bytes)"
