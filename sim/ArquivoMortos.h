#pragma once
#include "model/Individuo.h"
#include <cstddef>
#include <cstdio>
#include <vector>

namespace keldo::sim {

using keldo::model::SpecX;

// The dead of a long batch run, kept in an unnamed temporary file instead of
// memory: a crowded world buries a thousand individuals a cycle, and every one
// of them stays in the project. Records go out and come back as the same
// bytes within one process, in the order they were stored.
class ArquivoMortos {
  public:
    ArquivoMortos() = default;
    ArquivoMortos(const ArquivoMortos&) = delete;
    ArquivoMortos& operator=(const ArquivoMortos&) = delete;
    ~ArquivoMortos();

    // Appends `lote` after the records already stored. False when the file
    // cannot be made or take them; then nothing of `lote` counts as stored,
    // and the caller keeps it.
    bool guardar(const std::vector<SpecX>& lote);
    // Hands every stored record, oldest first, to `visitar`, reading in blocks
    // into `bloco`. False when the file cannot be read back whole.
    template <class Visitar> bool paraCada(Visitar&& visitar, std::vector<SpecX>& bloco) const {
        for (size_t inicio = 0; inicio < quantidade; inicio += tamanhoBloco) {
            if (!lerBloco(inicio, bloco))
                return false;
            for (const SpecX& individuo : bloco)
                visitar(individuo);
        }
        return true;
    }
    size_t size() const { return quantidade; }
    // Forgets every record; the file is closed and removed.
    void limpar();

    static constexpr size_t tamanhoBloco = 4096;

  private:
    bool lerBloco(size_t inicio, std::vector<SpecX>& bloco) const;
    std::FILE* arquivo = nullptr;
    size_t quantidade = 0;
};

} // namespace keldo::sim
