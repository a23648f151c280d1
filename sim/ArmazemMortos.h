#pragma once
#include "model/Individuo.h"
#include "sim/ArquivoMortos.h"
#include <cstddef>
#include <vector>

namespace keldo::sim {

using keldo::model::SpecX;

// The dead of a world, in the order they died. With the temporary file on,
// the older ones move there whenever the list in memory reaches the limit;
// `quantidade` and `paraCada` see them all.
class ArmazemMortos {
  public:
    // The dead still in memory.
    const std::vector<SpecX>& naMemoria() const { return lista; }
    std::vector<SpecX>& naMemoriaEditavel() { return lista; }
    void adicionar(const SpecX& morto) {
        if (apenasContar)
            ++contados;
        else
            lista.push_back(morto);
    }
    // Forgets the dead added since `quantidade()` was `n` (a cycle undone;
    // nothing moves to the file within a cycle).
    void descartarDesde(size_t n) {
        const size_t excesso = quantidade() - n;
        if (apenasContar)
            contados -= excesso;
        else
            lista.erase(lista.end() - static_cast<std::ptrdiff_t>(excesso), lista.end());
    }
    size_t quantidade() const { return contados + guardados.size() + lista.size(); }
    // Every dead individual, oldest first. False when the stored ones cannot
    // be read back, or some were only counted.
    template <class Visitar> bool paraCada(Visitar&& visitar) const {
        if (contados > 0 || !guardados.paraCada(visitar, bloco))
            return false;
        for (const SpecX& individuo : lista)
            visitar(individuo);
        return true;
    }
    // Forgets every dead individual, in memory and in the file.
    void limpar();
    // `novos`, after `soContados` dead that were not kept.
    void substituir(std::vector<SpecX> novos, size_t soContados = 0);
    // From now on the dead are counted, not kept: for a run that never
    // saves, traces nor snapshots, and only needs their number.
    void soContar(bool contar) { apenasContar = contar; }
    bool soContando() const { return apenasContar; }
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
    bool apenasContar = false;
    size_t contados = 0; // dead counted, not kept; they come before the others
};

} // namespace keldo::sim
