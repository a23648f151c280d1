#include "AcessoDocumento.h"
#include "sim/CKeldoDoc.h"
#include "sim/ParametrosPorNome.h"
#include "sim/TabelaParametros.h"
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

using namespace keldo::sim;

namespace {
// The numeric fields in the order the project file stores them, with the byte
// offset of the first one after the two default texts ("12" and "Manual").
// Checking each name against the file layout catches a name bound to the
// wrong field (morte_mm and morte_MM swapped, say).
const char* const antesDosTextos[] = {"numIndividuos", "taxaMutacao",      "mutacaoAtiva",
                                      "taxaReposicao", "particaoAmbiente", "energiaMin",
                                      "energiaMax"};
const char* const depoisDosTextos[] = {
    "intervaloAnimacao", "gerarTrace",   "qtdAlimento",     "mostrarEnergia", "tipoPopulacao",
    "salvarAtivo",       "salvarCiclos", nullptr, // numSnapshot, a counter
    "comDefinida",       "tipoGeracoes", "numIndDiscretas", "tempoRealCiclo", "taxaPermuta0",
    "taxaPermuta1",      "taxaPermuta2", "taxaPermuta3",    "taxaPermuta4",   "taxaPermuta5",
    "detecta",           "luta",         "morte_mm",        "morte_Mm",       "morte_MM",
    "repro_rr",          "repro_Rr",     "repro_RR",        "partilha"};
constexpr size_t inicioAntes = 16;
constexpr size_t inicioDepois = 44 + 3 + 7;

std::vector<uint8_t> arquivoCom(const char* nome, const char* valor) {
    CKeldoDoc doc;
    EXPECT_EQ(definirParametroPorNome(AcessoDocumento::parametrosEditaveis(doc), nome, valor),
              ResultadoDefinicao::ok)
        << nome;
    return doc.serializar();
}

int64_t lerInt32(const std::vector<uint8_t>& b, size_t pos) {
    int32_t v;
    std::memcpy(&v, b.data() + pos, 4);
    return v;
}
} // namespace

TEST(ParametrosPorNome, CadaNomeNumericoDefineSeuCampoNoArquivo) {
    const std::vector<uint8_t> padrao = CKeldoDoc().serializar();
    size_t testados = 0;
    auto conferir = [&](const char* nome, size_t pos) {
        const std::vector<uint8_t> b = arquivoCom(nome, "12347");
        ASSERT_EQ(b.size(), padrao.size()) << nome;
        EXPECT_EQ(lerInt32(b, pos), 12347) << nome;
        for (size_t k = 0; k < b.size(); ++k) {
            if (k < pos || k >= pos + 4) {
                ASSERT_EQ(b[k], padrao[k]) << nome << " mudou o byte " << k;
            }
        }
        ++testados;
    };
    for (size_t i = 0; i < std::size(antesDosTextos); ++i)
        conferir(antesDosTextos[i], inicioAntes + 4 * i);
    for (size_t i = 0; i < std::size(depoisDosTextos); ++i)
        if (depoisDosTextos[i])
            conferir(depoisDosTextos[i], inicioDepois + 4 * i);
    // With the two texts, that is every name offered.
    EXPECT_EQ(testados + 2, nomesDeParametros().size());

    // Each value reads back as it was set (the chart captions list them).
    for (const std::string& nome : nomesDeParametros()) {
        SimulationParameters p;
        const std::string valor = nome == "nivelObstaculos" ? "Gera\xC3\xA7\xC3\xA3o" : "1234";
        ASSERT_EQ(definirParametroPorNome(p, nome, valor), ResultadoDefinicao::ok) << nome;
        EXPECT_EQ(valorPorNome(p, nome), valor) << nome;
    }
    EXPECT_EQ(valorPorNome(SimulationParameters(), "taxaPermuta9"), "");
}

TEST(ParametrosPorNome, NumerosSaoEstritosEUmValorRecusadoNaoMudaNada) {
    SimulationParameters p;
    for (const char* ruim : {"", " 5", "5 ", "+5", "5x", "0x10", "1e3", "1.5", "2147483648",
                             "-2147483649", "--1", "\xD9\xA5"})
        EXPECT_EQ(definirParametroPorNome(p, "energiaMin", ruim), ResultadoDefinicao::valorInvalido)
            << ruim;
    for (const char* ruim : {"-1", "4294967296", "-0x1"})
        EXPECT_EQ(definirParametroPorNome(p, "repro_rr", ruim), ResultadoDefinicao::valorInvalido)
            << ruim;
    EXPECT_EQ(p.energiaMin, 200);
    EXPECT_EQ(p.repro_rr, 400u);

    EXPECT_EQ(definirParametroPorNome(p, "energiaMin", "-2147483648"), ResultadoDefinicao::ok);
    EXPECT_EQ(p.energiaMin, INT32_MIN);
    EXPECT_EQ(definirParametroPorNome(p, "luta", "4294967295"), ResultadoDefinicao::ok);
    EXPECT_EQ(p.luta, 4294967295u);
    EXPECT_EQ(definirParametroPorNome(p, "taxaPermuta5", "007"), ResultadoDefinicao::ok);
    EXPECT_EQ(p.taxaPermuta[5], 7);
}

TEST(ParametrosPorNome, NomesForaDoRegistroSaoDesconhecidos) {
    SimulationParameters p;
    for (const char* nome : {"doc", "listaDefinida", "taxaPermuta", "taxaPermuta6", "NumIndividuos",
                             "numSnapshot", "tempo", ""})
        EXPECT_EQ(definirParametroPorNome(p, nome, "1"), ResultadoDefinicao::nomeDesconhecido)
            << nome;
    EXPECT_TRUE(valorEsperadoPor("doc").empty());
    EXPECT_FALSE(valorEsperadoPor("morte_MM").empty());
}

TEST(ParametrosPorNome, TextosChegamEmUtf8ESaoGuardadosEmWindows1252) {
    SimulationParameters p;
    EXPECT_EQ(definirParametroPorNome(p, "criterioParada", "Gera\xC3\xA7\xC3\xA3o"),
              ResultadoDefinicao::ok);
    EXPECT_EQ(p.criterioParada, "Gera\xE7\xE3o");
    EXPECT_EQ(definirParametroPorNome(p, "nivelObstaculos", "\xE2\x82\xAC"),
              ResultadoDefinicao::ok);
    EXPECT_EQ(p.nivelObstaculos, "\x80");
    EXPECT_EQ(definirParametroPorNome(p, "nivelObstaculos", ""), ResultadoDefinicao::ok);
    EXPECT_EQ(p.nivelObstaculos, "");

    // Malformed UTF-8, a code point the code page lacks, or the replacement
    // character would be stored as '?': refused, and the field keeps its text.
    for (const char* ruim : {"Gera\xE7\xE3o", "\xE6\x97\xA5", "\xEF\xBF\xBD", "a\xC3"})
        EXPECT_EQ(definirParametroPorNome(p, "criterioParada", ruim),
                  ResultadoDefinicao::valorInvalido);
    EXPECT_EQ(p.criterioParada, "Gera\xE7\xE3o");
}

TEST(ParametrosPorNome, ForaDaFaixaDoDialogoSoRecusaOQueQuebraUmaExecucao) {
    SimulationParameters p;
    for (auto [nome, valor] : {std::pair{"taxaPermuta0", "100"},
                               {"nivelObstaculos", "7"},
                               {"salvarCiclos", "1"},
                               {"numIndDiscretas", "0"},
                               {"luta", "5000"}})
        ASSERT_EQ(definirParametroPorNome(p, nome, valor), ResultadoDefinicao::ok);
    EXPECT_EQ(p.valorInutilizavel(), "");
    for (auto [nome, valor] : {std::pair{"intervaloAnimacao", "0"},
                               {"salvarCiclos", "-3"},
                               {"numIndividuos", "1001"},
                               {"qtdAlimento", "-1"}}) {
        SimulationParameters q;
        ASSERT_EQ(definirParametroPorNome(q, nome, valor), ResultadoDefinicao::ok);
        EXPECT_NE(q.valorInutilizavel(), "") << nome;
    }
}

// The thresholds become the individual's 16-bit signed limiarMorte and
// limiarReproducao: from 32768 on they would turn negative (nothing dies,
// everything breeds), so --set refuses them and says the range.
TEST(ParametrosPorNome, LimiaresCabemNoTipoQueOIndividuoUsa) {
    for (const char* nome :
         {"morte_mm", "morte_Mm", "morte_MM", "repro_rr", "repro_Rr", "repro_RR"}) {
        SCOPED_TRACE(nome);
        SimulationParameters p;
        for (const char* ruim : {"32768", "65535", "4294967295"})
            EXPECT_EQ(definirParametroPorNome(p, nome, ruim), ResultadoDefinicao::valorInvalido)
                << ruim;
        EXPECT_EQ(valorEsperadoPor(nome), "inteiro de 0 a 32767");
        ASSERT_EQ(definirParametroPorNome(p, nome, "32767"), ResultadoDefinicao::ok);
        EXPECT_EQ(p.valorInutilizavel(), "");
        CKeldoDoc doc;
        doc.definirParametros(p);
        SpecX individuo;
        individuo.genotipoP = individuo.genotipoM = 0x1FF;
        individuo.anexar(&doc);
        EXPECT_GE(std::min(individuo.limiarMorte, individuo.limiarReproducao), 0);
    }
    // A record set by other means is caught before it makes or runs a world.
    SimulationParameters q;
    q.morte_Mm = 40000;
    EXPECT_EQ(q.valorInutilizavel(), "morte_Mm deve estar entre 0 e 32767");
}

// Every load range of the table is what the loader enforces, bound by bound,
// in the three message forms it has always used.
TEST(ParametrosPorNome, CargaRecusaSoForaDaFaixaDaTabela) {
    auto por = [](SimulationParameters& p, const DescricaoParametro& d, int64_t v) {
        if (d.indicePermuta >= 0)
            p.taxaPermuta[static_cast<size_t>(d.indicePermuta)] = static_cast<int32_t>(v);
        else if (d.inteiro)
            p.*d.inteiro = static_cast<int32_t>(v);
        else
            p.*d.semSinal = static_cast<uint32_t>(v);
    };
    int limitados = 0;
    for (const DescricaoParametro& d : tabelaDeParametros()) {
        if (d.tipo == TipoParametro::texto || (!d.minimoCarga && !d.maximoCarga))
            continue;
        SCOPED_TRACE(std::string(d.nome));
        ++limitados;
        for (auto [limite, passo] : {std::pair{d.minimoCarga, -1}, {d.maximoCarga, 1}}) {
            if (!limite)
                continue;
            SimulationParameters p;
            por(p, d, *limite);
            EXPECT_EQ(p.valorInutilizavel(), "");
            por(p, d, *limite + passo);
            EXPECT_EQ(p.valorInutilizavel().rfind(std::string(d.nome) + " deve ", 0), 0u);
        }
    }
    EXPECT_EQ(limitados, 11);
    SimulationParameters p;
    p.intervaloAnimacao = 0;
    EXPECT_EQ(p.valorInutilizavel(), "intervaloAnimacao deve ser pelo menos 1");
    p = {};
    p.taxaReposicao = 10001;
    EXPECT_EQ(p.valorInutilizavel(), "taxaReposicao deve ser no m\xC3\xA1ximo 10000");
    p = {};
    p.numIndividuos = 0;
    EXPECT_EQ(p.valorInutilizavel(), "numIndividuos deve estar entre 1 e 1000");
}
