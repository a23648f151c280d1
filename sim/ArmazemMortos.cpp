#include "sim/ArmazemMortos.h"

namespace keldo::sim {

void ArmazemMortos::limpar() {
    lista.clear();
    guardados.limpar();
    soNaMemoria = false;
    contados = 0;
}

void ArmazemMortos::substituir(std::vector<SpecX> novos, size_t soContados) {
    guardados.limpar();
    contados = soContados + (apenasContar ? novos.size() : 0);
    if (apenasContar)
        lista.clear();
    else
        lista = std::move(novos);
}

void ArmazemMortos::guardarSeCheio() {
    if (!emArquivo || soNaMemoria || lista.size() < limiteNaMemoria)
        return;
    if (guardados.guardar(lista))
        lista.clear();
    else
        soNaMemoria = true; // a full disk loses nothing; memory grows instead
}

} // namespace keldo::sim
