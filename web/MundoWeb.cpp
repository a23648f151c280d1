#include "web/MundoWeb.h"
#include "sim/CKeldoDoc.h"
#include "sim/EstatisticasPopulacao.h"
#include "sim/ParametrosPorNome.h"
#include "web/MensagensWeb.h"

namespace keldo::web {

using namespace keldo::sim;

MundoWeb::MundoWeb() : doc(novoDocumento()) {
    doc->definirSementeFixa(0);
    doc->criarMundo();
    iniciarResumo();
}

MundoWeb::~MundoWeb() = default;

// Set up as keldo-run sets up its document (but the dead stay in memory: a
// page has no disk, and they are the same bytes when saved).
std::unique_ptr<CKeldoDoc> MundoWeb::novoDocumento() const {
    auto d = std::make_unique<CKeldoDoc>();
    d->definirIgnorarTempoReal(true);
    d->medirEstatisticas(true);
    return d;
}

std::string MundoWeb::criar(uint32_t semente, const Definicoes& definicoes, bool sobreOsAtuais) {
    auto novo = novoDocumento();
    SimulationParameters parametros = sobreOsAtuais ? doc->parametros() : novo->parametros();
    for (const auto& [nome, valor] : definicoes)
        if (definirParametroPorNome(parametros, nome, valor) != ResultadoDefinicao::ok)
            return MensagensWeb::valorInvalido(nome);
    if (const std::string inutilizavel = parametros.valorInutilizavel(); !inutilizavel.empty())
        return MensagensWeb::valorRecusado(inutilizavel);
    novo->definirParametros(parametros);
    novo->definirSementeFixa(semente);
    novo->criarMundo();
    doc = std::move(novo);
    semente_ = semente;
    iniciarResumo();
    return {};
}

std::string MundoWeb::definir(const Definicoes& definicoes) {
    SimulationParameters parametros = doc->parametros();
    for (const auto& [nome, valor] : definicoes)
        if (definirParametroPorNome(parametros, nome, valor) != ResultadoDefinicao::ok)
            return MensagensWeb::valorInvalido(nome);
    if (const std::string inutilizavel = parametros.valorInutilizavel(); !inutilizavel.empty())
        return MensagensWeb::valorRecusado(inutilizavel);
    doc->definirParametros(parametros);
    return {};
}

std::string MundoWeb::abrir(const std::vector<uint8_t>& bytes, const std::string& nomeArquivo,
                            uint32_t semente) {
    auto novo = novoDocumento();
    const ResultadoArquivo r = novo->carregarBytes(bytes);
    if (!r.ok)
        return MensagensWeb::falhaAbrir(r, nomeArquivo);
    novo->semear(semente);
    doc = std::move(novo);
    semente_ = semente;
    iniciarResumo();
    return {};
}

uint32_t MundoWeb::executar(uint32_t ciclos) {
    parada_.clear();
    for (uint32_t c = 0; c < ciclos; ++c) {
        if (!doc->executarCiclo()) {
            parada_ = CKeldoDoc::avisoLimiteMundo();
            return c;
        }
        anexarLinha();
    }
    return ciclos;
}

std::vector<uint8_t> MundoWeb::salvar() {
    std::vector<uint8_t> bytes = doc->serializar();
    doc->completarObjetos(); // as after a save to a file
    return bytes;
}

void MundoWeb::iniciarResumo() {
    resumo_ = EstatisticasPopulacao::cabecalhoCsv();
    resumo_ += '\n';
    parada_.clear();
    anexarLinha();
}

void MundoWeb::anexarLinha() {
    EstatisticasPopulacao::anexarLinhaCsv(resumo_, doc->estatisticas().ultima());
    resumo_ += '\n';
}

std::string MundoWeb::status() const {
    return doc->textoStatus();
}
int32_t MundoWeb::tempo() const {
    return doc->tempo();
}
int32_t MundoWeb::geracao() const {
    return doc->geracao();
}
int MundoWeb::bitmapFundo() const {
    return doc->bitmapFundo();
}
char MundoWeb::codigoNivel() const {
    return doc->codigoNivel();
}
size_t MundoWeb::tamanhoMundo() const {
    return doc->vivos().size() + doc->alimentos().size();
}
std::string MundoWeb::valorParametro(const std::string& nome) const {
    return valorPorNome(doc->parametros(), nome);
}

size_t MundoWeb::prepararQuadro() {
    const size_t n = tamanhoMundo();
    quadro_.resize(valoresPorItem * n);
    float* q = quadro_.data();
    for (const FoodX& a : doc->alimentos()) {
        *q++ = a.x;
        *q++ = a.y;
        *q++ = 6.0f;
        *q++ = static_cast<float>(a.valorEnergetico);
        *q++ = 0.0f;
    }
    for (const SpecX& s : doc->vivos()) {
        *q++ = s.x;
        *q++ = s.y;
        *q++ = static_cast<float>(CKeldoDoc::indiceImagem(s));
        *q++ = static_cast<float>(s.energia);
        *q++ = s.energia < s.limiarReproducao ? 0.0f : 1.0f;
    }
    return n;
}

} // namespace keldo::web
