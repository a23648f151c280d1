#include "sim/ArmazemMortos.h"

namespace keldo::sim {

void ArmazemMortos::limpar() {
    lista.clear();
    guardados.limpar();
    soNaMemoria = false;
}

void ArmazemMortos::substituir(std::vector<SpecX> novos) {
    lista = std::move(novos);
    guardados.limpar();
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
