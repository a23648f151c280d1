#pragma once
#include "io/GravacaoSegura.h"
#include <memory>
#include <string>

namespace keldo::cli {

using keldo::io::GravacaoSegura;

// Where a table goes: standard output ("-"), or a file replaced through the
// safe-save routine at the end, so an interrupted or failed experiment never
// leaves half a table under the name nor destroys the previous one.
class ArquivoTabela {
  public:
    // Empty text when open, else why not (UTF-8).
    std::string abrir(const std::string& destino);
    // False from the first failed write on.
    bool escrever(const std::string& texto) { return escrever(texto.data(), texto.size()); }
    bool escrever(const char* dados, size_t n);
    // Hands what standard output holds to the system, so that a failure is
    // found as it happens; false from the first failed write on.
    bool descarregar();
    // Puts the file in place (or flushes standard output); false when anything failed.
    bool concluir();
    // Puts what was written under a new name that says it is partial
    // ("T.parcial.csv" for "T.csv", "T.parcial-2.csv" when that exists), never
    // replacing a file. That name ("-" for standard output), or empty when it
    // failed; `razao()` then names where the rows were kept.
    std::string concluirParcial();
    // The partial table's name for `destino`, the n-th choice (1..).
    static std::string nomeParcial(const std::string& destino, int n);
    // Why it failed (UTF-8), or empty.
    std::string razao() const;

  private:
    std::unique_ptr<GravacaoSegura> arquivo; // none for standard output
    std::string destino;
    bool falhou = false;
    int erroSaida = 0; // errno of a failed write to standard output
};

} // namespace keldo::cli
