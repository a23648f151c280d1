#include "VerificacaoArquivo.h"
#include "sim/CKeldoDoc.h"
#include "tests/apoio/AcessoDocumento.h"
#include <vector>

using namespace keldo::sim;

namespace {
constexpr uint8_t assinaturaVersao[4] = {0xB8, 0x0B, 0x00, 0x00}; // 3000

bool versaoErrada(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 4)
        return false; // too short to hold a version: damaged, not another version
    for (size_t k = 0; k < 4; ++k)
        if (bytes[k] != assinaturaVersao[k])
            return true;
    return false;
}

// Saves the world, reads the saved bytes into a fresh document and saves
// that one: both saves must be the same bytes.
std::string idaEVolta(CKeldoDoc& doc, const char* quando) {
    const std::vector<uint8_t> salvo = doc.serializar();
    CKeldoDoc relido;
    const ResultadoArquivo r = relido.carregarBytes(salvo);
    if (!r.ok)
        return std::string("o mundo salvo ") + quando + " foi recusado: " + r.mensagem;
    if (relido.serializar() != salvo)
        return std::string("o mundo salvo ") + quando + " mudou ao ser lido de novo";
    int32_t ovos = 0;
    for (const SpecX& individuo : relido.vivos())
        ovos += individuo.adulto() ? 0 : 1;
    if (relido.ovos() != ovos)
        return std::string("ovos recontados errado ") + quando;
    return {};
}
} // namespace

ResultadoVerificacao verificarArquivoProjeto(const uint8_t* dados, size_t tamanho, int ciclos) {
    const std::vector<uint8_t> bytes(dados, dados + tamanho);
    ResultadoVerificacao v;
    CKeldoDoc doc;
    const std::vector<uint8_t> antes = doc.serializar();
    const uint32_t rngAntes = doc.gerador().estadoAtual();
    const ResultadoArquivo r = doc.carregarBytes(bytes);
    if (!r.ok) {
        if (r.mensagem.empty())
            v.falha = "recusado sem mensagem";
        else if (r.versaoInvalida != versaoErrada(bytes))
            v.falha = "versao julgada errado: " + r.mensagem;
        else if (doc.serializar() != antes || doc.gerador().estadoAtual() != rngAntes)
            v.falha = "a recusa mudou o mundo em memoria";
        return v;
    }
    v.aceito = true;
    v.falha = idaEVolta(doc, "depois da leitura");
    if (!v.falha.empty() || ciclos <= 0)
        return v;

    // The world read goes on running, as the simulator would run it; nothing
    // may be written to disk meanwhile (no path, no trace).
    doc.definirIgnorarTempoReal(true);
    AcessoDocumento::parametrosEditaveis(doc).gerarTrace = 0;
    for (int c = 0; c < ciclos; ++c)
        doc.executarCiclo();
    v.falha = idaEVolta(doc, "depois dos ciclos");
    return v;
}
