#include "sim/TabelaParametros.h"
#include "model/Genoma.h"
#include "sim/ParametrosPorNome.h"
#include <charconv>
#include <limits>
#include <stdexcept>
#include <tuple>

namespace keldo::sim {

namespace {
using D = DescricaoParametro;
using P = SimulationParameters;
namespace Genoma = keldo::model::Genoma;

// The death and reproduction thresholds end up in the individual's 16-bit
// signed limiarMorte / limiarReproducao: larger values would turn negative.
constexpr int64_t limiarMaximo = std::numeric_limits<decltype(SpecX::limiarMorte)>::max();
static_assert(std::is_same_v<decltype(SpecX::limiarMorte), decltype(SpecX::limiarReproducao)>);

// Each item eaten brings taxaReposicao / 100 new ones within the same cycle:
// a huge rate would fill the memory in one cycle. Twenty times the dialog's
// highest rate: a hundred new items per item eaten.
constexpr int64_t taxaReposicaoMaxima = 10000;

constexpr D campo(std::string_view nome, std::string_view descricao, TipoParametro tipo) {
    D d;
    d.nome = nome;
    d.descricao = descricao;
    d.tipo = tipo;
    return d;
}
constexpr D i32(std::string_view nome, int32_t P::*membro, std::string_view descricao) {
    D d = campo(nome, descricao, TipoParametro::inteiro);
    d.inteiro = membro;
    return d;
}
constexpr D u32(std::string_view nome, uint32_t P::*membro, std::string_view descricao) {
    D d = campo(nome, descricao, TipoParametro::semSinal);
    d.semSinal = membro;
    return d;
}
constexpr D txt(std::string_view nome, std::string P::*membro, std::string_view descricao) {
    D d = campo(nome, descricao, TipoParametro::texto);
    d.texto = membro;
    return d;
}
constexpr D permuta(std::string_view nome, int indice, std::string_view descricao) {
    D d = campo(nome, descricao, TipoParametro::inteiro);
    d.indicePermuta = indice;
    return d.dialogo(0, 50);
}
// Loads accept just what the dialog takes: a new world is made from these two sizes.
constexpr D comoNoDialogo(const D& d) {
    return d.carga(d.minimoDialogo, d.maximoDialogo);
}
// The cycle divides by the two intervals.
constexpr D divisor(const D& d) {
    return d.carga(1, std::nullopt);
}
constexpr D limiar(std::string_view nome, uint32_t P::*membro, std::string_view descricao,
                   int64_t minimo, int64_t maximo) {
    return u32(nome, membro, descricao).dialogo(minimo, maximo).limiteDoModelo(0, limiarMaximo);
}

constexpr D tabela[] = {
    comoNoDialogo(
        i32("numIndividuos", &P::numIndividuos, "indivíduos do mundo novo").dialogo(1, 1000)),
    i32("taxaReposicao", &P::taxaReposicao, "itens novos por ciclo, em % dos itens comidos")
        .dialogo(0, 500)
        .carga(std::nullopt, taxaReposicaoMaxima),
    i32("particaoAmbiente", &P::particaoAmbiente,
        "partição da arena (campo oculto, passa sem edição)"),
    i32("energiaMin", &P::energiaMin, "energia mínima de um item novo de alimento").dialogo(1, 500),
    txt("nivelObstaculos", &P::nivelObstaculos,
        "disposição dos obstáculos da arena (\"0\": nenhum)")
        .opcoes("0,12,15,30"),
    txt("criterioParada", &P::criterioParada, "critério de parada (só mostrado)").opcoes("Manual"),
    divisor(i32("intervaloAnimacao", &P::intervaloAnimacao,
                "a arena é redesenhada a cada tantos ciclos")
                .dialogo(1, 1000)),
    comoNoDialogo(
        i32("qtdAlimento", &P::qtdAlimento, "itens de alimento espalhados quando o mundo é criado")
            .dialogo(0, 2000)),
    i32("taxaMutacao", &P::taxaMutacao,
        "com mutação ativa, cada posição de um gameta muda com probabilidade 1/N")
        .dialogo(1, 10000),
    i32("mostrarEnergia", &P::mostrarEnergia,
        "escreve a energia ao lado de cada indivíduo (0 ou 1)")
        .opcoes("0,1"),
    i32("energiaMax", &P::energiaMax, "energia máxima de um item novo de alimento").dialogo(1, 500),
    divisor(i32("salvarCiclos", &P::salvarCiclos, "ciclos entre dois salvamentos automáticos")
                .dialogo(50, 10000)),
    i32("salvarAtivo", &P::salvarAtivo, "salvamento automático ligado (0 ou 1)").opcoes("0,1"),
    i32("mutacaoAtiva", &P::mutacaoAtiva, "mutação ligada (0 ou 1)").opcoes("0,1"),
    i32("comDefinida", &P::comDefinida,
        "com população aleatória, a lista definida entra primeiro (0 ou 1)")
        .opcoes("0,1"),
    u32("numIndDiscretas", &P::numIndDiscretas,
        "com gerações discretas, ovos que formam a geração seguinte")
        .dialogo(1, 10000),
    i32("tipoPopulacao", &P::tipoPopulacao, "população aleatória (0) ou definida (1)")
        .opcoes("0,1"),
    i32("tipoGeracoes", &P::tipoGeracoes, "gerações sobrepostas (0) ou discretas (1)")
        .opcoes("0,1"),
    u32("tempoRealCiclo", &P::tempoRealCiclo,
        "milissegundos no mínimo entre ciclos (0: sem espera)")
        .dialogo(0, 10000),
    i32("gerarTrace", &P::gerarTrace, "grava keldo_trace.txt a cada ciclo (0 ou 1)").opcoes("0,1"),
    permuta("taxaPermuta0", 0, "taxa de permuta Visão–Reprodução (%)"),
    permuta("taxaPermuta1", 1, "taxa de permuta Reprodução–Partilha (%)"),
    permuta("taxaPermuta2", 2, "taxa de permuta Partilha–Luta (%)"),
    permuta("taxaPermuta3", 3, "taxa de permuta Luta–Morte (%)"),
    permuta("taxaPermuta4", 4, "taxa de permuta Morte–Inteligência (%)"),
    permuta("taxaPermuta5", 5, "taxa de permuta Inteligência–Neutro (%)"),
    u32("detecta", &P::detecta,
        "energia que um acasalamento custa, paga pela mãe ou dividida com o pai")
        .dialogo(0, 1000),
    u32("luta", &P::luta, "energia que cada macho lutador paga numa disputa por uma fêmea")
        .dialogo(0, 1000),
    limiar("morte_mm", &P::morte_mm, "limiar de morte do genótipo mm", 0, 200),
    limiar("morte_Mm", &P::morte_Mm, "limiar de morte do genótipo Mm", 0, 200),
    limiar("morte_MM", &P::morte_MM, "limiar de morte do genótipo MM", 0, 200),
    limiar("repro_rr", &P::repro_rr, "limiar de reprodução do genótipo rr", 50, 2000),
    limiar("repro_Rr", &P::repro_Rr, "limiar de reprodução do genótipo Rr", 50, 2000),
    limiar("repro_RR", &P::repro_RR, "limiar de reprodução do genótipo RR", 50, 2000),
    u32("partilha", &P::partilha,
        "energia que quem não partilha perde ao disputar um item de alimento")
        .dialogo(0, 500),
};

// The rows that name genes write them as the genome table does: a crossing
// point the two genes it lies between, a threshold its genotype. A gene
// renamed or added there stops the build here until these rows follow.
constexpr bool consumir(std::string_view& texto, std::string_view parte) {
    if (!texto.starts_with(parte))
        return false;
    texto.remove_prefix(parte.size());
    return true;
}
constexpr bool descreveOPonto(std::string_view d, int ponto) {
    return consumir(d, "taxa de permuta ") &&
           consumir(d, Genoma::nome(static_cast<Genoma::Gene>(ponto))) && consumir(d, "–") &&
           consumir(d, Genoma::nome(static_cast<Genoma::Gene>(ponto + 1))) && d == " (%)";
}
constexpr bool pontosConferem() {
    int ponto = 0;
    for (const D& d : tabela) {
        if (d.indicePermuta < 0)
            continue;
        if (d.indicePermuta != ponto || !descreveOPonto(d.descricao, ponto))
            return false;
        ++ponto;
    }
    return ponto == Genoma::numPontosPermuta &&
           ponto == static_cast<int>(std::tuple_size_v<decltype(P::taxaPermuta)>);
}
static_assert(pontosConferem());
// "... do genótipo Mm": the genotype's letters, the capital ones first.
constexpr bool genotipoConfere(std::string_view nome, Genoma::Gene g, int maiusculas) {
    const std::string_view primeira = Genoma::letra(g, maiusculas >= 1 ? 1 : 0);
    const std::string_view segunda = Genoma::letra(g, maiusculas == 2 ? 1 : 0);
    for (const D& d : tabela) {
        if (d.nome != nome)
            continue;
        constexpr std::string_view marca = "genótipo ";
        const size_t k = d.descricao.find(marca);
        std::string_view texto = d.descricao.substr(k == std::string_view::npos ? 0 : k);
        return consumir(texto, marca) && consumir(texto, primeira) && texto == segunda;
    }
    return false;
}
static_assert(genotipoConfere("morte_mm", Genoma::Morte, 0) &&
              genotipoConfere("morte_Mm", Genoma::Morte, 1) &&
              genotipoConfere("morte_MM", Genoma::Morte, 2) &&
              genotipoConfere("repro_rr", Genoma::Reproducao, 0) &&
              genotipoConfere("repro_Rr", Genoma::Reproducao, 1) &&
              genotipoConfere("repro_RR", Genoma::Reproducao, 2));

bool lerInteiro(std::string_view texto, int64_t& valor) {
    const char* fim = texto.data() + texto.size();
    const auto [resto, erro] = std::from_chars(texto.data(), fim, valor, 10);
    return !texto.empty() && erro == std::errc() && resto == fim;
}

bool entreAsEscolhas(std::string_view escolhas, std::string_view valor) {
    for (size_t inicio = 0;;) {
        const size_t virgula = escolhas.find(',', inicio);
        if (escolhas.substr(inicio, virgula - inicio) == valor)
            return true;
        if (virgula == std::string_view::npos)
            return false;
        inicio = virgula + 1;
    }
}

// What the model makes of a value the dialog does not offer.
std::string efeito(std::string_view nome) {
    if (nome == "nivelObstaculos")
        return "o mundo terá os obstáculos do nível 30";
    if (nome == "tipoGeracoes" || nome == "gerarTrace" || nome == "tipoPopulacao")
        return "o modelo o trata como 0";
    return "o modelo usa o valor assim mesmo";
}
} // namespace

int64_t DescricaoParametro::menorAceito() const {
    if (minimoCarga)
        return *minimoCarga;
    return tipo == TipoParametro::semSinal ? 0 : std::numeric_limits<int32_t>::min();
}

int64_t DescricaoParametro::maiorAceito() const {
    if (maximoCarga)
        return *maximoCarga;
    return tipo == TipoParametro::semSinal ? std::numeric_limits<uint32_t>::max()
                                           : std::numeric_limits<int32_t>::max();
}

std::optional<int64_t> DescricaoParametro::valorEm(const SimulationParameters& p) const {
    if (indicePermuta >= 0)
        return p.taxaPermuta[static_cast<size_t>(indicePermuta)];
    if (inteiro)
        return p.*inteiro;
    if (semSinal)
        return p.*semSinal;
    return std::nullopt;
}

std::span<const DescricaoParametro> tabelaDeParametros() {
    return tabela;
}

const DescricaoParametro* descricaoDoParametro(std::string_view nome) {
    for (const D& d : tabela)
        if (d.nome == nome)
            return &d;
    return nullptr;
}

const DescricaoParametro& parametroPorNome(std::string_view nome) {
    if (const D* d = descricaoDoParametro(nome))
        return *d;
    throw std::out_of_range("parâmetro desconhecido: " + std::string(nome));
}

std::string faixaDoDialogo(const DescricaoParametro& d) {
    if (!d.noDialogo)
        return "-";
    if (!d.escolhas.empty())
        return std::string(d.escolhas);
    return std::to_string(d.minimoDialogo) + " a " + std::to_string(d.maximoDialogo);
}

std::string faixaDaCarga(const DescricaoParametro& d) {
    if (d.tipo == TipoParametro::texto)
        return "texto";
    return std::to_string(d.menorAceito()) + " a " + std::to_string(d.maiorAceito());
}

std::string avisoForaDoDialogo(std::string_view nome, std::string_view valor) {
    const D* d = descricaoDoParametro(nome);
    if (!d || !d->noDialogo)
        return {};
    int64_t n = 0;
    const bool dentro = d->escolhas.empty()
                            ? lerInteiro(valor, n) && n >= d->minimoDialogo && n <= d->maximoDialogo
                            : entreAsEscolhas(d->escolhas, valor);
    if (dentro)
        return {};
    const std::string definicao = std::string(nome) + "=" + std::string(valor);
    return d->escolhas.empty() ? definicao + " está fora da faixa do diálogo (" +
                                     faixaDoDialogo(*d) + "); " + efeito(nome)
                               : definicao + " não é uma escolha do diálogo (" +
                                     faixaDoDialogo(*d) + "); " + efeito(nome);
}

std::string listagemDeParametros() {
    const SimulationParameters padrao;
    std::string s = "nome;tipo;padrao;dialogo;carga;descricao\n";
    for (const D& d : tabela) {
        s += std::string(d.nome) + ';' + (d.tipo == TipoParametro::texto ? "texto" : "inteiro") +
             ';' + valorPorNome(padrao, d.nome) + ';' + faixaDoDialogo(d) + ';' + faixaDaCarga(d) +
             ';' + std::string(d.descricao) + '\n';
    }
    return s;
}

} // namespace keldo::sim
