// What JavaScript sees of the core: the world of a page (MundoWeb), the
// parameter table and the genes. Frames and saved files are handed out as
// views of the module's memory, copied once as a whole by the caller.
#include "web/MundoWeb.h"
#include "web/TabelaWeb.h"
#include <emscripten/bind.h>
#include <emscripten/val.h>

namespace keldo::web {

using namespace emscripten;

namespace {
MundoWeb::Definicoes definicoes(const val& nomes, const val& valores) {
    const auto n = vecFromJSArray<std::string>(nomes);
    const auto v = vecFromJSArray<std::string>(valores);
    MundoWeb::Definicoes d;
    for (size_t i = 0; i < n.size() && i < v.size(); ++i)
        d.emplace_back(n[i], v[i]);
    return d;
}

std::string criar(MundoWeb& m, uint32_t semente, const val& nomes, const val& valores,
                  bool sobreOsAtuais) {
    return m.criar(semente, definicoes(nomes, valores), sobreOsAtuais);
}

std::string definir(MundoWeb& m, const val& nomes, const val& valores) {
    return m.definir(definicoes(nomes, valores));
}

std::string abrir(MundoWeb& m, const val& bytes, const std::string& nome, uint32_t semente) {
    return m.abrir(convertJSArrayToNumberVector<uint8_t>(bytes), nome, semente);
}

// The last saved file, alive until the next save: the caller copies it at once.
std::vector<uint8_t> salvos;

val salvar(MundoWeb& m) {
    salvos = m.salvar();
    return val(typed_memory_view(salvos.size(), salvos.data()));
}

val quadro(MundoWeb& m) {
    const size_t n = m.prepararQuadro();
    return val(typed_memory_view(MundoWeb::valoresPorItem * n, m.quadro()));
}

// The summary from byte `inicio` on (the lines a page has not read yet).
std::string resumoDesde(const MundoWeb& m, size_t inicio) {
    const std::string& r = m.resumo();
    return inicio < r.size() ? r.substr(inicio) : std::string();
}

std::string obstaculos(const MundoWeb& m) {
    return obstaculosJson(m.codigoNivel());
}

size_t tamanhoResumo(const MundoWeb& m) {
    return m.resumo().size();
}
} // namespace

EMSCRIPTEN_BINDINGS(keldo) {
    class_<MundoWeb>("MundoWeb")
        .constructor<>()
        .function("criar", &criar)
        .function("definir", &definir)
        .function("abrir", &abrir)
        .function("executar", &MundoWeb::executar)
        .function("salvar", &salvar)
        .function("quadro", &quadro)
        .function("resumo", &MundoWeb::resumo)
        .function("resumoDesde", &resumoDesde)
        .function("tamanhoResumo", &tamanhoResumo)
        .function("parada", &MundoWeb::parada)
        .function("semente", &MundoWeb::semente)
        .function("status", &MundoWeb::status)
        .function("tempo", &MundoWeb::tempo)
        .function("geracao", &MundoWeb::geracao)
        .function("bitmapFundo", &MundoWeb::bitmapFundo)
        .function("obstaculos", &obstaculos)
        .function("valorParametro", &MundoWeb::valorParametro);
    function("tabelaParametros", &tabelaParametrosJson);
    function("genes", &genesJson);
}

} // namespace keldo::web
