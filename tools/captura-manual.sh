#!/usr/bin/env bash
# Makes the manual's pictures again (help/manual/imagens/), as a classroom's
# projector shows the programs: a 1024×768 screen run by openbox, a window
# manager that decorates and places windows as a desktop does.
#   tools/captura-manual.sh [PASTA_DOS_PROGRAMAS] [PASTA_DE_SAIDA]
# Needs xvfb, openbox, xdotool and imagemagick (apt-get install xvfb openbox
# xdotool imagemagick) and the programs built (keldo, keldoge and keldo-run).
# The pictures are stored as small palette PNGs; register a new one in
# help/manual.qrc.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/bin}
saida=${2:-help/manual/imagens}
mkdir -p "$saida"
trabalho=$(mktemp -d)
# The programs end before the X server they draw on.
trap 'for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; sleep 1; done; rm -rf "$trabalho"' EXIT
pids=()

# Stripped of dates and names, in 256 colours when the picture allows it.
gravar() { # FONTE NOME
  convert "$1" -strip +dither -colors 256 "PNG8:$saida/$2"
  echo "gravado $saida/$2 ($(stat -c %s "$saida/$2") bytes)"
}

# A window with its frame, as the window manager draws it.
janela() { # ID NOME
  import -frame -window "$1" "$trabalho/janela.png"
  gravar "$trabalho/janela.png" "$2"
}

tela() { # NOME
  import -window root "$trabalho/tela.png"
  gravar "$trabalho/tela.png" "$1"
}

# The drift exercise's world: 40 individuals, discrete generations of 40,
# 40 food items.
"$bin/keldo-run" --seed 7 --cycles 400 --set tipoGeracoes=1 --set numIndDiscretas=40 \
  --set numIndividuos=40 --set qtdAlimento=40 --save "$trabalho/deriva.gen" >/dev/null

Xvfb :95 -screen 0 1024x768x24 -nolisten tcp &
pids+=($!)
export DISPLAY=:95 XDG_RUNTIME_DIR=$trabalho HOME=$trabalho
sleep 2
openbox --sm-disable &
pids+=($!)
sleep 2

"$bin/keldo" "$trabalho/deriva.gen" &
pids+=($!)
principal=$(xdotool search --sync --onlyvisible --name "KELDO: deriva")
xdotool windowfocus --sync "$principal"
sleep 2
janela "$principal" janela-principal.png

# Configuração → Parâmetros...
xdotool key alt+c p
parametros=$(xdotool search --sync --onlyvisible --name "Parâmetros de Simulação")
sleep 1
janela "$parametros" parametros.png
xdotool key Escape
sleep 1

# The chart window, placed by the program: population, one gene and the
# heterozygosity panel.
xdotool windowfocus --sync "$principal"
xdotool key ctrl+i   # Iniciar
sleep 3
xdotool key ctrl+g   # Gráficos
graficos=$(xdotool search --sync --onlyvisible --name "Gráficos")
sleep 1
xdotool windowfocus --sync "$graficos"
xdotool key alt+h    # Heterozigose do gene selecionado
sleep 6
tela graficos.png

# The presentation mode (F11) going on with the run, 50 cycles a redraw: about
# 15,000 cycles in the five seconds, within the generations the drift exercise
# watches (at 200 the world may reach the late stalls the manual describes).
xdotool windowfocus --sync "$principal"
xdotool key F11
sleep 2
# + steps the speed 1, 2, 5, 10, 20, 50 cycles a redraw
xdotool key plus plus plus plus plus
sleep 5
tela apresentacao.png
xdotool key Escape
sleep 1
xdotool windowfocus --sync "$principal"
xdotool key ctrl+p   # Parar

# The genotype editor with the same project.
"$bin/keldoge" "$trabalho/deriva.gen" &
pids+=($!)
editor=$(xdotool search --sync --onlyvisible --name "Keldo GE")
xdotool windowfocus --sync "$editor"
sleep 2
janela "$editor" editor.png
