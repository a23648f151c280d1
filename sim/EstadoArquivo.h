#pragma once
#include <string>

namespace keldo::sim {

// Where a document lives on disk and whether it changed since it was last
// read or written. An empty path is a project never saved.
class EstadoArquivo {
  public:
    const std::string& caminho() const { return caminho_; }
    bool temCaminho() const { return !caminho_.empty(); }
    bool modificado() const { return modificado_; }

    void marcarModificado() { modificado_ = true; }
    void marcarSalvo() { modificado_ = false; }
    // The path periodic saves and Save write to; the modified flag stays.
    void definirCaminho(const std::string& caminho) { caminho_ = caminho; }
    // Written (or read) just now under `caminho`.
    void salvoEm(const std::string& caminho) {
        caminho_ = caminho;
        modificado_ = false;
    }
    // A project never saved and not changed.
    void novo() {
        caminho_.clear();
        modificado_ = false;
    }

  private:
    std::string caminho_;
    bool modificado_ = false;
};

} // namespace keldo::sim
