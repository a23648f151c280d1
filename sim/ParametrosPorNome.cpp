#include "sim/ParametrosPorNome.h"
#include "io/Cp1252.h"
#include "sim/TabelaParametros.h"
#include <charconv>
#include <cstdint>

namespace keldo::sim {

using namespace keldo::io;

namespace {
using Tipo = TipoParametro;
using Campo = DescricaoParametro;

// Plain decimal digits (a leading '-' for signed fields), nothing else, in
// range. The field keeps its value when the text is refused.
template <class T> bool lerNumero(std::string_view texto, T& valor) {
    const char* fim = texto.data() + texto.size();
    T lido{};
    const auto [resto, erro] = std::from_chars(texto.data(), fim, lido, 10);
    if (texto.empty() || erro != std::errc() || resto != fim)
        return false;
    valor = lido;
    return true;
}

// A field the model cannot hold beyond its load range keeps to that range.
template <class T> bool lerNaFaixa(const Campo& campo, std::string_view texto, T& valor) {
    T lido{};
    if (!lerNumero(texto, lido))
        return false;
    if (campo.recusadoAoLer && (lido < campo.menorAceito() || lido > campo.maiorAceito()))
        return false;
    valor = lido;
    return true;
}

// A text must survive the trip to Windows-1252 unchanged: malformed UTF-8
// or characters the code page lacks would otherwise be stored as '?'.
bool lerTexto(std::string_view texto, std::string& valor) {
    const std::string original(texto);
    std::string convertido = utf8ParaCp1252(original);
    if (cp1252ParaUtf8(convertido) != original)
        return false;
    valor = std::move(convertido);
    return true;
}
} // namespace

ResultadoDefinicao definirParametroPorNome(SimulationParameters& parametros, std::string_view nome,
                                           std::string_view valor) {
    const Campo* campo = descricaoDoParametro(nome);
    if (!campo)
        return ResultadoDefinicao::nomeDesconhecido;
    bool lido = false;
    if (campo->indicePermuta >= 0)
        lido = lerNaFaixa(*campo, valor,
                          parametros.taxaPermuta[static_cast<size_t>(campo->indicePermuta)]);
    else if (campo->tipo == Tipo::inteiro)
        lido = lerNaFaixa(*campo, valor, parametros.*(campo->inteiro));
    else if (campo->tipo == Tipo::semSinal)
        lido = lerNaFaixa(*campo, valor, parametros.*(campo->semSinal));
    else
        lido = lerTexto(valor, parametros.*(campo->texto));
    return lido ? ResultadoDefinicao::ok : ResultadoDefinicao::valorInvalido;
}

std::vector<std::string> nomesDeParametros() {
    std::vector<std::string> nomes;
    for (const Campo& c : tabelaDeParametros())
        nomes.emplace_back(c.nome);
    return nomes;
}

std::string valorEsperadoPor(std::string_view nome) {
    const Campo* campo = descricaoDoParametro(nome);
    if (!campo)
        return {};
    if (campo->tipo == Tipo::texto)
        return "texto representável em Windows-1252";
    // Without `recusadoAoLer`, --set takes the whole type; the run checks the rest.
    if (campo->recusadoAoLer)
        return "inteiro de " + faixaDaCarga(*campo);
    return campo->tipo == Tipo::inteiro ? "inteiro de -2147483648 a 2147483647"
                                        : "inteiro de 0 a 4294967295";
}

std::string valorPorNome(const SimulationParameters& parametros, std::string_view nome) {
    const Campo* campo = descricaoDoParametro(nome);
    if (!campo)
        return {};
    if (campo->indicePermuta >= 0)
        return std::to_string(parametros.taxaPermuta[static_cast<size_t>(campo->indicePermuta)]);
    if (campo->tipo == Tipo::inteiro)
        return std::to_string(parametros.*(campo->inteiro));
    if (campo->tipo == Tipo::semSinal)
        return std::to_string(parametros.*(campo->semSinal));
    return cp1252ParaUtf8(parametros.*(campo->texto));
}

} // namespace keldo::sim
