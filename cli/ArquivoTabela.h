#pragma once
#include "io/GravacaoSegura.h"
#include <memory>
#include <string>

namespace keldo::cli {

using namespace keldo::io;

// Where a table goes: standard output ("-"), or a file replaced through the
// safe-save routine at the end, so an interrupted or failed experiment never
// leaves half a table under the name nor destroys the previous one.
class ArquivoTabela {
  public:
    // Empty text when open, else why not (UTF-8).
    std::string abrir(const std::string& destino);
    // False from the first failed write on.
    bool escrever(const std::string& texto);
    // Puts the file in place (or flushes standard output); false when anything failed.
    bool concluir();
    // Why it failed (UTF-8), or empty.
    std::string razao() const;

  private:
    std::unique_ptr<GravacaoSegura> arquivo; // none for standard output
    bool falhou = false;
};

} // namespace keldo::cli
