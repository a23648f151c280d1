#include "web/TabelaWeb.h"
#include "model/Genoma.h"
#include "sim/CKeldoDoc.h"
#include "sim/ParametrosPorNome.h"
#include "sim/SimulationParameters.h"
#include "sim/TabelaParametros.h"
#include <string_view>

namespace keldo::web {

using namespace keldo::model;
using namespace keldo::sim;

namespace {
std::string textoJson(std::string_view s) {
    std::string r = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            r += '\\';
            r += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static constexpr char hex[] = "0123456789abcdef";
            r += "\\u00";
            r += hex[(c >> 4) & 0xF];
            r += hex[c & 0xF];
        } else {
            r += c;
        }
    }
    return r + '"';
}

const char* nomeTipo(TipoParametro t) {
    switch (t) {
    case TipoParametro::inteiro:
        return "\"inteiro\"";
    case TipoParametro::semSinal:
        return "\"semSinal\"";
    case TipoParametro::texto:
        break;
    }
    return "\"texto\"";
}
} // namespace

std::string tabelaParametrosJson() {
    const SimulationParameters padrao;
    std::string s = "[";
    for (const DescricaoParametro& d : tabelaDeParametros()) {
        if (s.size() > 1)
            s += ',';
        s += "{\"nome\":" + textoJson(d.nome) + ",\"tipo\":" + nomeTipo(d.tipo) +
             ",\"descricao\":" + textoJson(d.descricao) +
             ",\"noDialogo\":" + (d.noDialogo ? "true" : "false") +
             ",\"escolhas\":" + textoJson(d.escolhas) +
             ",\"minimo\":" + std::to_string(d.minimoDialogo) +
             ",\"maximo\":" + std::to_string(d.maximoDialogo) +
             ",\"carga\":" + textoJson(faixaDaCarga(d)) +
             ",\"padrao\":" + textoJson(valorPorNome(padrao, d.nome)) + "}";
    }
    return s + "]";
}

std::string genesJson() {
    std::string s = "[";
    for (const Genoma::DescricaoGene& g : Genoma::genes) {
        if (s.size() > 1)
            s += ',';
        s += "{\"nome\":" + textoJson(g.nome) + ",\"sigla\":" + textoJson(std::string(1, g.sigla)) +
             ",\"autossomico\":" +
             (g.cromossomo == Genoma::Cromossomo::autossomo ? "true" : "false") + ",\"letras\":[";
        for (int k = 0; k < (g.numBits == 2 ? 4 : 2); ++k)
            s += std::string(k ? "," : "") + textoJson(g.letras[static_cast<size_t>(k)]);
        s += "]}";
    }
    return s + "]";
}

std::string obstaculosJson(char codigo) {
    std::string s = "[";
    for (int metade = 0; metade < 2; ++metade)
        for (const Rect& r : CKeldoDoc::tabelaObstaculos(codigo, metade)) {
            if (s.size() > 1)
                s += ',';
            s += "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                 std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
        }
    return s + "]";
}

} // namespace keldo::web
