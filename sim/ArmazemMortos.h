#pragma once
#include "model/Individuo.h"
#include "sim/ArquivoMortos.h"
#include <cstddef>
#include <vector>

namespace keldo::sim {

using namespace keldo::model;

// The dead of a world, in the order they died. With the temporary file on,
// the older ones move there whenever the list in memory reaches the limit;
// `quantidade` and `paraCada` see them all.
class ArmazemMortos {
  public:
    // The dead still in memory.
    const std::vector<SpecX>& naMemoria() const { return lista; }
    std::vector<SpecX>& naMemoriaEditavel() { return lista; }
    void adicionar(const SpecX& morto) { lista.push_back(morto); }
    // Forgets the dead added since the list in memory held `n` (a cycle undone;
    // nothing moves to the file within a cycle).
    void descartarDesde(size_t n) {
        lista.erase(lista.begin() + static_cast<std::ptrdiff_t>(n), lista.end());
    }
    size_t quantidade() const { return guardados.size() + lista.size(); }
    // Every dead individual, oldest first. False when the stored ones cannot be read back.
    template <class Visitar> bool paraCada(Visitar&& visitar) const {
        if (!guardados.paraCada(visitar, bloco))
            return false;
        for (const SpecX& individuo : lista)
            visitar(individuo);
        return true;
    }
    // Forgets every dead individual, in memory and in the file.
    void limpar();
    void substituir(std::vector<SpecX> novos);
    void usarArquivo(bool usar, size_t limite) {
        emArquivo = usar;
        limiteNaMemoria = limite;
    }
    // Moves the list to the file once it reached the limit (a cycle's end).
    void guardarSeCheio();

  private:
    std::vector<SpecX> lista;
    ArquivoMortos guardados;
    mutable std::vector<SpecX> bloco;
    bool emArquivo = false;
    size_t limiteNaMemoria = ArquivoMortos::tamanhoBloco;
    // Set when the temporary file failed once; the dead stay in memory from then on.
    bool soNaMemoria = false;
};

} // namespace keldo::sim
