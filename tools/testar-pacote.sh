#!/usr/bin/env bash
# The package test: installs build/keldo_*.deb into this machine with apt-get,
# tries the installed programs from a folder away from the build tree, and
# purges the package again, also when a step fails. Needs root.
#   tools/testar-pacote.sh [BUILD_DIR]
set -euo pipefail
pasta=${1:-build}
apt=(apt-get -y -o DPkg::Lock::Timeout=600)

falhar() {
    echo "testar-pacote: $*" >&2
    exit 1
}

[ "$(id -u)" = 0 ] || falhar "precisa de root para instalar o pacote"
if dpkg-query -W -f='${Status}' keldo 2>/dev/null | grep -q "install ok installed"; then
    falhar "o pacote keldo já está instalado nesta máquina; o teste não o substitui"
fi
shopt -s nullglob
pacotes=("$pasta"/keldo_*.deb)
[ ${#pacotes[@]} = 1 ] || falhar "esperado um único $pasta/keldo_*.deb, há ${#pacotes[@]}"
deb=$(realpath "${pacotes[0]}")
versao=$(dpkg-deb -f "$deb" Version)

trabalho=$(mktemp -d)
remover() {
    local status=$?
    cd /
    if dpkg-query -W -f='${Status}' keldo 2>/dev/null | grep -q "installed"; then
        DEBIAN_FRONTEND=noninteractive "${apt[@]}" purge keldo >/dev/null || status=1
    fi
    if [ -e /usr/bin/keldo ] || [ -e /usr/share/mime/packages/keldo.xml ] ||
        [ -e "/usr/bin/Simulações" ]; then
        echo "testar-pacote: arquivos do pacote ficaram depois da remoção" >&2
        status=1
    fi
    rm -rf "$trabalho"
    [ $status = 0 ] && echo "testar-pacote: tudo certo; pacote removido" ||
        echo "testar-pacote: FALHOU; pacote removido" >&2
    exit $status
}
trap remover EXIT

DEBIAN_FRONTEND=noninteractive "${apt[@]}" install "$deb"
cd "$trabalho"
export QT_QPA_PLATFORM=offscreen

# Each program answers --version with its name and the package's version.
for programa in keldo-run keldo keldoge KeldoHP; do
    [ "$(command -v "$programa")" = "/usr/bin/$programa" ] || falhar "$programa não está em /usr/bin"
    saida=$("$programa" --version 2>/dev/null)
    [ "$saida" = "$programa $versao" ] || falhar "$programa --version: \"$saida\""
    echo "ok: $saida"
done

keldo-run --seed 1 --cycles 10 --save projeto.gen
[ -s projeto.gen ] || falhar "keldo-run não gravou projeto.gen"
tipo=$(xdg-mime query filetype projeto.gen)
[ "$tipo" = "application/x-keldo-document" ] || falhar "xdg-mime: projeto.gen é \"$tipo\""
echo "ok: xdg-mime query filetype projeto.gen = $tipo"
# An unknown option is a usage error (exit 2), not a message box.
for programa in keldo keldoge KeldoHP; do
    status=0
    "$programa" --opcao-inexistente 2>/dev/null || status=$?
    [ $status = 2 ] || falhar "$programa --opcao-inexistente saiu com $status"
done
echo "ok: opções desconhecidas recusadas com o status 2"
