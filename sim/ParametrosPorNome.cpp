#include "sim/ParametrosPorNome.h"
#include "sim/Cp1252.h"
#include <charconv>
#include <cstdint>

namespace {
enum class Tipo { inteiro, semSinal, texto };

// One settable field: exactly one of the member pointers is set, or
// `indicePermuta` names an entry of `taxaPermuta`.
struct Campo {
    std::string_view nome;
    Tipo tipo;
    int32_t SimulationParameters::*inteiro = nullptr;
    uint32_t SimulationParameters::*semSinal = nullptr;
    std::string SimulationParameters::*texto = nullptr;
    int indicePermuta = -1;
};

Campo i32(std::string_view nome, int32_t SimulationParameters::*m) {
    return {nome, Tipo::inteiro, m};
}
Campo u32(std::string_view nome, uint32_t SimulationParameters::*m) {
    return {nome, Tipo::semSinal, nullptr, m};
}
Campo txt(std::string_view nome, std::string SimulationParameters::*m) {
    return {nome, Tipo::texto, nullptr, nullptr, m};
}
Campo permuta(std::string_view nome, int indice) {
    return {nome, Tipo::inteiro, nullptr, nullptr, nullptr, indice};
}

using P = SimulationParameters;
const Campo campos[] = {
    i32("numIndividuos", &P::numIndividuos),
    i32("taxaReposicao", &P::taxaReposicao),
    i32("particaoAmbiente", &P::particaoAmbiente),
    i32("energiaMin", &P::energiaMin),
    txt("nivelObstaculos", &P::nivelObstaculos),
    txt("criterioParada", &P::criterioParada),
    i32("intervaloAnimacao", &P::intervaloAnimacao),
    i32("qtdAlimento", &P::qtdAlimento),
    i32("taxaMutacao", &P::taxaMutacao),
    i32("mostrarEnergia", &P::mostrarEnergia),
    i32("energiaMax", &P::energiaMax),
    i32("salvarCiclos", &P::salvarCiclos),
    i32("salvarAtivo", &P::salvarAtivo),
    i32("mutacaoAtiva", &P::mutacaoAtiva),
    i32("comDefinida", &P::comDefinida),
    u32("numIndDiscretas", &P::numIndDiscretas),
    i32("tipoPopulacao", &P::tipoPopulacao),
    i32("tipoGeracoes", &P::tipoGeracoes),
    u32("tempoRealCiclo", &P::tempoRealCiclo),
    i32("gerarTrace", &P::gerarTrace),
    permuta("taxaPermuta0", 0),
    permuta("taxaPermuta1", 1),
    permuta("taxaPermuta2", 2),
    permuta("taxaPermuta3", 3),
    permuta("taxaPermuta4", 4),
    permuta("taxaPermuta5", 5),
    u32("detecta", &P::detecta),
    u32("luta", &P::luta),
    u32("morte_mm", &P::morte_mm),
    u32("morte_Mm", &P::morte_Mm),
    u32("morte_MM", &P::morte_MM),
    u32("repro_rr", &P::repro_rr),
    u32("repro_Rr", &P::repro_Rr),
    u32("repro_RR", &P::repro_RR),
    u32("partilha", &P::partilha),
};

const Campo* campoPorNome(std::string_view nome) {
    for (const Campo& c : campos)
        if (c.nome == nome)
            return &c;
    return nullptr;
}

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

// An unsigned field also keeps to the range the model can hold it in.
bool lerSemSinal(std::string_view nome, std::string_view texto, uint32_t& valor) {
    uint32_t lido = 0;
    if (!lerNumero(texto, lido))
        return false;
    if (const FaixaParametro* faixa = faixaDoParametro(nome);
        faixa && (lido < faixa->minimo || lido > faixa->maximo))
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
    const Campo* campo = campoPorNome(nome);
    if (!campo)
        return ResultadoDefinicao::nomeDesconhecido;
    bool lido = false;
    if (campo->indicePermuta >= 0)
        lido = lerNumero(valor, parametros.taxaPermuta[static_cast<size_t>(campo->indicePermuta)]);
    else if (campo->tipo == Tipo::inteiro)
        lido = lerNumero(valor, parametros.*(campo->inteiro));
    else if (campo->tipo == Tipo::semSinal)
        lido = lerSemSinal(campo->nome, valor, parametros.*(campo->semSinal));
    else
        lido = lerTexto(valor, parametros.*(campo->texto));
    return lido ? ResultadoDefinicao::ok : ResultadoDefinicao::valorInvalido;
}

std::vector<std::string> nomesDeParametros() {
    std::vector<std::string> nomes;
    for (const Campo& c : campos)
        nomes.emplace_back(c.nome);
    return nomes;
}

std::string valorEsperadoPor(std::string_view nome) {
    const Campo* campo = campoPorNome(nome);
    if (!campo)
        return {};
    if (const FaixaParametro* faixa = faixaDoParametro(nome))
        return "inteiro de " + std::to_string(faixa->minimo) + " a " +
               std::to_string(faixa->maximo);
    switch (campo->tipo) {
    case Tipo::inteiro:
        return "inteiro de -2147483648 a 2147483647";
    case Tipo::semSinal:
        return "inteiro de 0 a 4294967295";
    default:
        return "texto representável em Windows-1252";
    }
}

std::string valorPorNome(const SimulationParameters& parametros, std::string_view nome) {
    const Campo* campo = campoPorNome(nome);
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
