#include "cli/Varredura.h"
#include "cli/RegistroTarefa.h"
#include "cli/Separar.h"
#include "sim/ParametrosPorNome.h"
#include "sim/SimulationParameters.h"
#include "sim/TabelaParametros.h"
#include <algorithm>
#include <charconv>
#include <set>
#include <sstream>

namespace keldo::cli {

using namespace keldo::sim;

namespace {
constexpr uint64_t maximoDeValores = Varredura::maximoDeValores;
// Combinations tried to find a run that takes a value refused with the
// others' base values; past it the value is let through (its runs fail).
constexpr uint64_t maximoDeTentativas = 10 * maximoDeValores;

std::string textoDoLimite() {
    return " (no máximo " + std::to_string(maximoDeValores) + " valores)";
}

bool lerInteiro(const std::string& texto, int64_t& valor) {
    const char* fim = texto.data() + texto.size();
    const auto [resto, erro] = std::from_chars(texto.data(), fim, valor, 10);
    return !texto.empty() && erro == std::errc() && resto == fim;
}

// `first:step:last` of integers, or false when the text is not one.
bool expandirIntervalo(const std::string& lista, std::vector<std::string>& valores,
                       std::string& erro) {
    std::vector<std::string> partes;
    std::stringstream s(lista);
    for (std::string parte; std::getline(s, parte, ':');)
        partes.push_back(parte);
    int64_t primeiro = 0, passo = 0, ultimo = 0;
    if (partes.size() != 3 || !lerInteiro(partes[0], primeiro) || !lerInteiro(partes[1], passo) ||
        !lerInteiro(partes[2], ultimo))
        return false;
    if (passo == 0 || (passo > 0) != (ultimo >= primeiro)) {
        erro = "intervalo vazio em --vary: \"" + lista + "\"";
        return true;
    }
    // Unsigned arithmetic wraps where signed would overflow: the distance and
    // the step's size always fit in 64 bits, and so does every value.
    const uint64_t de = static_cast<uint64_t>(primeiro), ate = static_cast<uint64_t>(ultimo);
    const uint64_t distancia = passo > 0 ? ate - de : de - ate;
    const uint64_t tamanhoPasso =
        passo > 0 ? static_cast<uint64_t>(passo) : 0 - static_cast<uint64_t>(passo);
    const uint64_t passos = distancia / tamanhoPasso;
    if (passos >= maximoDeValores) {
        erro = "intervalo grande demais em --vary: \"" + lista + "\"" + textoDoLimite();
        return true;
    }
    for (uint64_t i = 0; i <= passos; ++i)
        valores.push_back(
            std::to_string(static_cast<int64_t>(de + i * static_cast<uint64_t>(passo))));
    return true;
}

// Every value must be one --set takes, and must fit in one field of the table.
std::string verificarValores(const std::string& nome, const std::vector<std::string>& valores) {
    for (const std::string& v : valores) {
        SimulationParameters rascunho;
        if (v.find_first_of(";\"\r\n") != std::string::npos)
            return "valor de --vary com ; aspas ou fim de linha: \"" + v + "\"";
        switch (definirParametroPorNome(rascunho, nome, v)) {
        case ResultadoDefinicao::nomeDesconhecido:
            return "parâmetro desconhecido: " + nome;
        case ResultadoDefinicao::valorInvalido:
            return "valor inválido para " + nome + ": \"" + v + "\" (esperado " +
                   valorEsperadoPor(nome) + ")";
        default:
            break;
        }
    }
    return {};
}
} // namespace

std::string Varredura::adicionarJuntos(const std::vector<std::string>& textos) {
    Eixo eixo;
    for (const std::string& texto : textos) {
        const size_t igual = texto.find('=');
        if (igual == std::string::npos || igual == 0 || igual + 1 == texto.size())
            return "--vary espera NOME=LISTA, recebeu \"" + texto + "\"";
        const std::string nome = texto.substr(0, igual);
        for (const Eixo& outro : eixos)
            if (std::count(outro.nomes.begin(), outro.nomes.end(), nome) > 0)
                return "--vary repete o parâmetro " + nome;
        if (std::count(eixo.nomes.begin(), eixo.nomes.end(), nome) > 0)
            return "--vary repete o parâmetro " + nome;
        const std::string lista = texto.substr(igual + 1);
        std::vector<std::string> valores;
        std::string erro;
        if (!expandirIntervalo(lista, valores, erro)) {
            if (static_cast<uint64_t>(std::count(lista.begin(), lista.end(), ',')) >=
                maximoDeValores)
                erro = "lista grande demais em --vary: " + nome + textoDoLimite();
            else
                valores = separar(lista, ',');
        }
        if (erro.empty())
            erro = verificarValores(nome, valores);
        if (erro.empty() && nome == "gerarTrace")
            erro = "gerarTrace não pode variar: as execuções gravariam juntas keldo_trace.txt";
        if (erro.empty() && !eixo.valores.empty() && valores.size() != eixo.tamanho())
            erro = "--vary-together com listas de tamanhos diferentes: " + eixo.nomes.front() +
                   " tem " + std::to_string(eixo.tamanho()) + " valores, " + nome + " tem " +
                   std::to_string(valores.size());
        if (!erro.empty())
            return erro;
        eixo.nomes.push_back(nome);
        eixo.valores.push_back(std::move(valores));
    }
    if (eixo.nomes.empty())
        return "--vary-together espera NOME=LISTA...";
    eixos.push_back(std::move(eixo));
    return {};
}

bool Varredura::Eixo::definir(SimulationParameters& p, size_t i) const {
    bool ok = true;
    for (size_t j = 0; j < nomes.size(); ++j)
        ok = definirParametroPorNome(p, nomes[j], valores[j][i]) == ResultadoDefinicao::ok && ok;
    return ok;
}

bool Varredura::Eixo::restaurar(SimulationParameters& p, const SimulationParameters& base) const {
    bool ok = true;
    for (const std::string& nome : nomes)
        ok = definirParametroPorNome(p, nome, valorPorNome(base, nome)) == ResultadoDefinicao::ok &&
             ok;
    return ok;
}

uint64_t Varredura::total() const {
    uint64_t n = replicas;
    for (const Eixo& e : eixos)
        if (__builtin_mul_overflow(n, static_cast<uint64_t>(e.tamanho()), &n))
            return UINT64_MAX;
    return n;
}

std::string Varredura::verificarTotal() const {
    if (total() <= maximoDeExecucoes)
        return {};
    std::string conta = std::to_string(replicas) + (replicas == 1 ? " réplica" : " réplicas");
    for (const Eixo& e : eixos) {
        std::string nomes;
        for (const std::string& nome : e.nomes)
            nomes += (nomes.empty() ? "" : "+") + nome;
        conta += " x " + std::to_string(e.tamanho()) + " valores de " + nomes;
    }
    return "experimento grande demais: " + conta + " passa de " +
           std::to_string(maximoDeExecucoes) + " execuções";
}

std::string Varredura::verificarContra(const SimulationParameters& base) const {
    SimulationParameters p = base;
    uint64_t orcamento = maximoDeTentativas;
    for (size_t i = 0; i < eixos.size(); ++i) {
        const Eixo& e = eixos[i];
        for (size_t v = 0; v < e.tamanho(); ++v) {
            e.definir(p, v);
            if (const std::string motivo = p.valorInutilizavel();
                !motivo.empty() && !algumaExecucaoAceita(p, base, i, orcamento)) {
                std::string valores;
                for (size_t j = 0; j < e.nomes.size(); ++j)
                    valores += (j ? " " : "") + e.nomes[j] + "=" + e.valores[j][v];
                return "valor de --vary que toda execução recusaria: " + valores + " (" + motivo +
                       ")";
            }
            if (!e.restaurar(p, base))
                p = base;
        }
    }
    return {};
}

// Whether the value set in `p` for axis `eixo` goes with some value of
// another axis (the record's only rule between fields ties two of them).
bool Varredura::algumaExecucaoAceita(SimulationParameters& p, const SimulationParameters& base,
                                     size_t eixo, uint64_t& orcamento) const {
    for (size_t j = 0; j < eixos.size(); ++j) {
        if (j == eixo)
            continue;
        bool aceita = false;
        for (size_t w = 0; w < eixos[j].tamanho(); ++w) {
            if (orcamento == 0)
                return true;
            --orcamento;
            eixos[j].definir(p, w);
            if ((aceita = p.valorInutilizavel().empty()))
                break;
        }
        // A value that does not read back as it was: let the runs judge.
        if (!eixos[j].restaurar(p, base) || aceita)
            return true;
    }
    return false;
}

std::vector<std::string> Varredura::avisos() const {
    std::vector<std::string> r;
    std::set<std::string> dados;
    for (const Eixo& e : eixos)
        for (size_t j = 0; j < e.nomes.size(); ++j)
            for (const std::string& v : e.valores[j])
                if (std::string aviso = avisoForaDoDialogo(e.nomes[j], v);
                    !aviso.empty() && dados.insert(aviso).second)
                    r.push_back(std::move(aviso));
    return r;
}

std::vector<std::string> Varredura::nomes() const {
    std::vector<std::string> r;
    for (const Eixo& e : eixos)
        r.insert(r.end(), e.nomes.begin(), e.nomes.end());
    return r;
}

uint32_t Varredura::replicaDa(uint64_t k) const {
    return static_cast<uint32_t>((k - 1) % replicas) + 1;
}

std::vector<std::pair<std::string, std::string>> Varredura::definicoesDa(uint64_t k) const {
    std::vector<size_t> posicoes(eixos.size());
    uint64_t resto = (k - 1) / replicas; // the replicate is the innermost digit
    for (size_t i = eixos.size(); i-- > 0;) {
        posicoes[i] = static_cast<size_t>(resto % eixos[i].tamanho());
        resto /= eixos[i].tamanho();
    }
    std::vector<std::pair<std::string, std::string>> r;
    for (size_t i = 0; i < eixos.size(); ++i)
        for (size_t j = 0; j < eixos[i].nomes.size(); ++j)
            r.emplace_back(eixos[i].nomes[j], eixos[i].valores[j][posicoes[i]]);
    return r;
}

std::vector<std::vector<std::pair<std::string, std::vector<std::string>>>>
Varredura::listas() const {
    std::vector<std::vector<std::pair<std::string, std::vector<std::string>>>> r;
    for (const Eixo& e : eixos) {
        r.emplace_back();
        for (size_t j = 0; j < e.nomes.size(); ++j)
            r.back().emplace_back(e.nomes[j], e.valores[j]);
    }
    return r;
}

std::string Varredura::descricao() const {
    std::string d = "replicas=" + std::to_string(replicas);
    for (const Eixo& e : eixos)
        for (size_t j = 0; j < e.nomes.size(); ++j) {
            d += (j == 0 ? "\nvary=" : "\ntogether=") + e.nomes[j];
            for (const std::string& v : e.valores[j])
                d += (&v == &e.valores[j].front() ? "=" : ",") + v;
        }
    return d;
}

namespace {
// The 32-bit finalizer of MurmurHash3: one-to-one, every bit mixed.
uint32_t misturar(uint32_t x) {
    x ^= x >> 16;
    x *= 0x85EBCA6Bu;
    x ^= x >> 13;
    x *= 0xC2B2AE35u;
    x ^= x >> 16;
    return x;
}
} // namespace

uint32_t sementeDaExecucao(uint32_t s, std::vector<std::pair<std::string, std::string>> combinacao,
                           uint32_t replica) {
    std::sort(combinacao.begin(), combinacao.end());
    std::string texto;
    for (const auto& [nome, valor] : combinacao)
        texto += nome + '=' + valor + '\n';
    const uint64_t h = RegistroTarefa::soma(texto);
    const uint32_t c = misturar(s ^ static_cast<uint32_t>(h ^ (h >> 32)));
    return misturar(c + replica * 0x9E3779B9u);
}

} // namespace keldo::cli
