#include "sim/TabelaParametros.h"
#include "sim/ParametrosPorNome.h"
#include "sim/SimulationParameters.h"
#include <charconv>

namespace {
using D = DescricaoParametro;
constexpr int64_t limiteInt32 = 2147483647;

// The dialogs' ranges: CParametersDlg, CAdvancedSettingsDlg and CExchangeRatesDlg read them here.
constexpr D tabela[] = {
    {"numIndividuos", "indivíduos do mundo novo", "", 1, 1000},
    {"taxaReposicao", "itens novos por ciclo, em % dos itens comidos", "", 0, 500},
    {"particaoAmbiente", "partição da arena (campo oculto, passa sem edição)", "", 0, 0, false},
    {"energiaMin", "energia mínima de um item novo de alimento", "", 1, 500},
    {"nivelObstaculos", "disposição dos obstáculos da arena (\"0\": nenhum)", "0,12,15,30"},
    {"criterioParada", "critério de parada (só mostrado)", "Manual"},
    {"intervaloAnimacao", "a arena é redesenhada a cada tantos ciclos", "", 1, 1000},
    {"qtdAlimento", "itens de alimento espalhados quando o mundo é criado", "", 0, 2000},
    {"taxaMutacao", "com mutação ativa, cada posição de um gameta muda com probabilidade 1/N", "",
     1, 10000},
    {"mostrarEnergia", "escreve a energia ao lado de cada indivíduo (0 ou 1)", "0,1"},
    {"energiaMax", "energia máxima de um item novo de alimento", "", 1, 500},
    {"salvarCiclos", "ciclos entre dois salvamentos automáticos", "", 50, 10000},
    {"salvarAtivo", "salvamento automático ligado (0 ou 1)", "0,1"},
    {"mutacaoAtiva", "mutação ligada (0 ou 1)", "0,1"},
    {"comDefinida", "com população aleatória, a lista definida entra primeiro (0 ou 1)", "0,1"},
    {"numIndDiscretas", "com gerações discretas, ovos que formam a geração seguinte", "", 1, 10000},
    {"tipoPopulacao", "população aleatória (0) ou definida (1)", "0,1"},
    {"tipoGeracoes", "gerações sobrepostas (0) ou discretas (1)", "0,1"},
    {"tempoRealCiclo", "milissegundos no mínimo entre ciclos (0: sem espera)", "", 0, 10000},
    {"gerarTrace", "grava keldo_trace.txt a cada ciclo (0 ou 1)", "0,1"},
    {"taxaPermuta0", "taxa de permuta Visão–Reprodução (%)", "", 0, 50},
    {"taxaPermuta1", "taxa de permuta Reprodução–Partilha (%)", "", 0, 50},
    {"taxaPermuta2", "taxa de permuta Partilha–Luta (%)", "", 0, 50},
    {"taxaPermuta3", "taxa de permuta Luta–Morte (%)", "", 0, 50},
    {"taxaPermuta4", "taxa de permuta Morte–Inteligência (%)", "", 0, 50},
    {"taxaPermuta5", "taxa de permuta Inteligência–Neutro (%)", "", 0, 50},
    {"detecta", "energia que um acasalamento custa, paga pela mãe ou dividida com o pai", "", 0,
     1000},
    {"luta", "energia que cada macho lutador paga numa disputa por uma fêmea", "", 0, 1000},
    {"morte_mm", "limiar de morte do genótipo mm", "", 0, 200},
    {"morte_Mm", "limiar de morte do genótipo Mm", "", 0, 200},
    {"morte_MM", "limiar de morte do genótipo MM", "", 0, 200},
    {"repro_rr", "limiar de reprodução do genótipo rr", "", 50, 2000},
    {"repro_Rr", "limiar de reprodução do genótipo Rr", "", 50, 2000},
    {"repro_RR", "limiar de reprodução do genótipo RR", "", 50, 2000},
    {"partilha", "energia que quem não partilha perde ao disputar um item de alimento", "", 0, 500},
};

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

std::span<const DescricaoParametro> tabelaDeParametros() {
    return tabela;
}

const DescricaoParametro* descricaoDoParametro(std::string_view nome) {
    for (const D& d : tabela)
        if (d.nome == nome)
            return &d;
    return nullptr;
}

std::string faixaDoDialogo(const DescricaoParametro& d) {
    if (!d.noDialogo)
        return "-";
    if (!d.escolhas.empty())
        return std::string(d.escolhas);
    return std::to_string(d.minimoDialogo) + " a " + std::to_string(d.maximoDialogo);
}

std::string faixaDaCarga(std::string_view nome) {
    if (const FaixaParametro* f = faixaDoParametro(nome))
        return std::to_string(f->minimo) + " a " + std::to_string(f->maximo);
    const std::string esperado = valorEsperadoPor(nome);
    const std::string prefixo = "inteiro de ";
    return esperado.rfind(prefixo, 0) == 0 ? esperado.substr(prefixo.size()) : "texto";
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
        const std::string carga = faixaDaCarga(d.nome);
        s += std::string(d.nome) + ';' + (carga == "texto" ? "texto" : "inteiro") + ';' +
             valorPorNome(padrao, d.nome) + ';' + faixaDoDialogo(d) + ';' + carga + ';' +
             std::string(d.descricao) + '\n';
    }
    return s;
}
