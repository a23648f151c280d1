#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace keldo::sim {
class CKeldoDoc;
} // namespace keldo::sim

namespace keldo::web {

using keldo::sim::CKeldoDoc;

// The world of a page: one document, made or read as keldo-run makes or reads
// it, its summary text as `keldo-run --summary` writes it, and the frame the
// arena draws. Every failure leaves the present world as it was.
class MundoWeb {
  public:
    MundoWeb();
    ~MundoWeb();
    MundoWeb(const MundoWeb&) = delete;
    MundoWeb& operator=(const MundoWeb&) = delete;

    using Definicoes = std::vector<std::pair<std::string, std::string>>;

    // A new world from this seed and the parameters set by name (as --set), over
    // a new project's parameters or, with `sobreOsAtuais`, over the present
    // world's (and its defined population). Empty when made; else the message.
    std::string criar(uint32_t semente, const Definicoes& definicoes, bool sobreOsAtuais);
    // Sets parameters of the present world by name, as the desktop's parameters
    // dialog does (it goes on with them). Empty when set; else the message, and
    // nothing changed.
    std::string definir(const Definicoes& definicoes);
    // The world of a ".gen" file's bytes, its generator then seeded as
    // `keldo-run FILE --seed` does. Empty when read; else the desktop's message
    // for `nomeArquivo`.
    std::string abrir(const std::vector<uint8_t>& bytes, const std::string& nomeArquivo,
                      uint32_t semente);
    // Up to `ciclos` cycles; stops early at the world-size limit (`parada()`).
    uint32_t executar(uint32_t ciclos);
    // The world as a ".gen" file.
    std::vector<uint8_t> salvar();

    // The summary so far: header, the first state, one line per cycle.
    const std::string& resumo() const { return resumo_; }
    // Why the last run stopped before its cycles were done; empty otherwise.
    const std::string& parada() const { return parada_; }
    // The seed the world was made with, or the one its continuation was seeded with.
    uint32_t semente() const { return semente_; }
    std::string status() const;
    int32_t tempo() const;
    int32_t geracao() const;
    int bitmapFundo() const;
    char codigoNivel() const;
    size_t tamanhoMundo() const;
    std::string valorParametro(const std::string& nome) const;

    // The frame: per food item, then per living individual, x and y (arena
    // units, 0..99), the arena image index (0..7), the energy and its label's
    // colour as the desktop arena writes it (1: cyan, at or above the
    // reproduction threshold; 0: black) as floats. Rebuilt in place (no
    // allocation once grown); `quadro()` points to `valoresPorItem * n` floats.
    static constexpr size_t valoresPorItem = 5;
    size_t prepararQuadro();
    const float* quadro() const { return quadro_.data(); }

  private:
    std::unique_ptr<CKeldoDoc> novoDocumento() const;
    void iniciarResumo();
    void anexarLinha();

    std::unique_ptr<CKeldoDoc> doc;
    std::string resumo_;
    std::string parada_;
    uint32_t semente_ = 0;
    std::vector<float> quadro_;
};

} // namespace keldo::web
