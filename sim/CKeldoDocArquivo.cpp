// The document's project file: saving, loading and completing the loaded
// objects; the format itself is ArquivoProjeto's.
#include "io/GravacaoSegura.h"
#include "sim/CKeldoDoc.h"
#include <cerrno>

namespace keldo::sim {

using namespace keldo::io;

std::vector<uint8_t> CKeldoDoc::serializar() {
    CArchive ar;
    ArquivoProjeto::escreverInicio(ar, tempo_, proximoId_, geracao_, parametros_, numSnapshot_,
                                   alimentos_, vivos_);
    ar.escreverContagem(static_cast<uint32_t>(numMortos()));
    const bool lidos = paraCadaMorto(
        [&](const SpecX& individuo) { ArquivoProjeto::escreverMorto(ar, individuo); });
    return lidos ? ar.bytes() : std::vector<uint8_t>();
}

void CKeldoDoc::completarObjetos() {
    for (auto* lista : {&parametros_.listaDefinida, &vivos_, &mortos_.naMemoriaEditavel()})
        for (SpecX& individuo : *lista)
            individuo.anexar(this);
    for (FoodX& alimento : alimentos_) {
        alimento.doc = this;
        registrar(alimento);
    }
}

ResultadoArquivo CKeldoDoc::salvarProjeto(const std::string& caminhoProjeto, bool comSnapshot) {
    // Loads refuse such a file; the editor's clones and edits can build one.
    if (mundoAlemDoLimite() || parametros_.listaDefinida.size() > limiteMundo) {
        ultimaFalhaSalvar_ = "O projeto não foi salvo em " + caminhoProjeto + ": tem mais de " +
                             std::to_string(limiteMundo) +
                             " indivíduos vivos e alimentos, o limite de um mundo, e nenhum "
                             "programa o abriria";
        return {false, false, FalhaArquivo::salvarAlemDoLimite, 0, ultimaFalhaSalvar_};
    }
    if (comSnapshot && temSnapshot(caminhoProjeto))
        escreverTrace(nomeSnapshot(caminhoProjeto), false); // a failed snapshot is skipped
    const std::vector<uint8_t> bytes = serializar();
    // An empty result: the dead kept on disk could not be read back.
    std::string mantido;
    const int erro = bytes.empty() ? EIO
                                   : GravacaoSegura::gravar(caminhoProjeto, bytes.data(),
                                                            bytes.size(), &mantido);
    if (erro) {
        ResultadoArquivo falha = ArquivoProjeto::falha(FalhaArquivo::salvar, erro, caminhoProjeto);
        falha.mantido = mantido;
        if (!mantido.empty())
            falha.mensagem += "; o projeto ficou em " + mantido;
        ultimaFalhaSalvar_ = falha.mensagem;
        return falha;
    }
    completarObjetos();
    arquivo_.salvoEm(caminhoProjeto);
    // A running world moves on from what was just written.
    if (executando())
        arquivo_.marcarModificado();
    return {};
}

ResultadoArquivo CKeldoDoc::carregarBytes(const std::vector<uint8_t>& bytes) {
    CArchive ar(bytes.data(), bytes.size());
    return carregar(ar);
}

ResultadoArquivo CKeldoDoc::carregar(CArchive& ar) {
    ArquivoProjeto::Conteudo c;
    c.soContarMortos = mortos_.soContando();
    Random rngLeitura = rng_;
    if (ResultadoArquivo r = ArquivoProjeto::ler(ar, rngLeitura, c, limiteMundo); !r.ok)
        return r;
    limparMundo();
    if (host_)
        arena_ = host_->areaCliente();
    rng_ = rngLeitura;
    tempo_ = c.tempo;
    proximoId_ = c.proximoId;
    geracao_ = c.geracao;
    numSnapshot_ = c.numSnapshot;
    parametros_ = std::move(c.parametros);
    escolherNivel();
    construirObstaculos();
    alimentos_ = std::move(c.alimentos);
    vivos_ = std::move(c.vivos);
    mortos_.substituir(std::move(c.mortos), c.mortosContados);
    completarObjetos();
    ovos_ = 0;
    for (const SpecX& individuo : vivos_)
        if (!individuo.adulto())
            ++ovos_;
    estatisticas_.iniciar(*this);
    sementeMundo_.reset(); // a project file does not say what seed made its world
    if (executando())
        arquivo_.marcarModificado();
    return {};
}

ResultadoArquivo CKeldoDoc::carregarProjeto(const std::string& caminhoProjeto) {
    ResultadoArquivo resultado =
        ArquivoProjeto::abrir(caminhoProjeto, [this](CArchive& ar) { return carregar(ar); });
    if (resultado.ok) {
        arquivo_.salvoEm(caminhoProjeto);
        if (executando())
            arquivo_.marcarModificado();
    }
    return resultado;
}

} // namespace keldo::sim
