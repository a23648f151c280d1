#include "cli/RegistroExperimento.h"
#include "cli/OpcoesExecucao.h"
#include "sim/Versao.h"
#include <charconv>
#include <cstdio>

namespace keldo::cli {

namespace {
const std::string inicioExecucoes = "  \"execucoes\": [";
const std::string prefixoExecucao = "    {\"execucao\": ";

std::string chave(const std::string& nome, const std::string& valor) {
    return "  " + RegistroExperimento::citar(nome) + ": " + valor;
}
} // namespace

std::string RegistroExperimento::destino(const OpcoesExecucao& o) {
    const OpcoesExperimento& e = o.experimento;
    if (!e.registro.empty())
        return e.registro;
    return e.tabela == "-" ? std::string() : e.tabela + ".json";
}

RegistroExperimento::RegistroExperimento(
    const OpcoesExecucao& o, uint32_t semente, const std::string& impressao,
    const std::vector<std::pair<std::string, std::string>>& parametros) {
    const OpcoesExperimento& e = o.experimento;
    std::vector<std::string> cabeca; // the keys, one each, joined below
    std::vector<std::string> comando = {"keldo-run"};
    comando.insert(comando.end(), o.argumentos.begin(), o.argumentos.end());
    cabeca.push_back(chave("versao", citar(keldo::sim::versaoKeldo())));
    cabeca.push_back(chave("comando", lista(comando)));
    cabeca.push_back(chave("semente", std::to_string(semente)));
    cabeca.push_back(chave("experimento", citar(impressao)));
    if (e.tarefaDada)
        cabeca.push_back(
            chave("tarefa", citar(std::to_string(e.tarefa) + "/" + std::to_string(e.tarefas))));
    cabeca.push_back(chave("projeto", o.projeto ? citar(*o.projeto) : "null"));
    cabeca.push_back(chave("ciclos", std::to_string(o.ciclos)));
    cabeca.push_back(chave("cada", e.porGeracao ? citar("geracao") : std::to_string(e.cada)));
    std::vector<std::string> ate;
    for (const CondicaoParada& c : e.ate)
        ate.push_back(c.texto());
    cabeca.push_back(chave("ate", lista(ate)));
    cabeca.push_back(chave("replicas", std::to_string(e.varredura.numeroDeReplicas())));
    std::string variados = "[";
    for (const auto& eixo : e.varredura.listas())
        for (const auto& [nome, valores] : eixo) {
            variados += std::string(variados.size() > 1 ? ", " : "") + "{\"nome\": " + citar(nome) +
                        ", \"valores\": " + lista(valores);
            std::vector<std::string> juntos; // --vary-together: the others of its axis
            for (const auto& outro : eixo)
                if (outro.first != nome)
                    juntos.push_back(outro.first);
            variados += (juntos.empty() ? "" : ", \"junto_com\": " + lista(juntos)) + "}";
        }
    cabeca.push_back(chave("variados", variados + "]"));
    std::string definidos = "{";
    for (const auto& [nome, valor] : o.definicoes)
        definidos +=
            std::string(definidos.size() > 1 ? ", " : "") + citar(nome) + ": " + citar(valor);
    cabeca.push_back(chave("definidos", definidos + "}"));
    std::string p = "  \"parametros\": {";
    for (size_t i = 0; i < parametros.size(); ++i)
        p += std::string(i ? "," : "") + "\n    " + citar(parametros[i].first) + ": " +
             citar(parametros[i].second);
    cabeca.push_back(p + "\n  }");
    std::string juntas;
    for (const std::string& c : cabeca)
        juntas += c + ",\n";
    for (size_t inicio = 0, fim; (fim = juntas.find('\n', inicio)) != std::string::npos;
         inicio = fim + 1)
        linhas.push_back(juntas.substr(inicio, fim - inicio));
}

void RegistroExperimento::anotar(const Execucao& e) {
    std::string c = "{";
    for (const auto& [nome, valor] : e.combinacao)
        c += std::string(c.size() > 1 ? ", " : "") + citar(nome) + ": " + citar(valor);
    std::string linha =
        prefixoExecucao + std::to_string(e.k) + ", \"combinacao\": " + c +
        "}, \"replica\": " + std::to_string(e.replica) +
        ", \"semente\": " + std::to_string(e.semente) +
        ", \"estado\": " + citar(e.falhou ? "falhou" : "completa") +
        ", \"parada\": " + (e.parada.empty() ? "null" : citar(e.parada)) +
        ", \"ultimo_ciclo\": " + (e.ultimoCiclo ? std::to_string(*e.ultimoCiclo) : "null");
    if (e.falhou)
        linha += ", \"erro\": " + citar(e.erro);
    const std::lock_guard<std::mutex> guarda(trava);
    execucoes[e.k] = linha + "}";
}

std::string RegistroExperimento::texto() const {
    const std::lock_guard<std::mutex> guarda(trava);
    return juntar(linhas, execucoes);
}

std::string RegistroExperimento::juntar(const std::vector<std::string>& cabeca,
                                        const std::map<uint64_t, std::string>& execucoes) {
    std::string t = "{\n";
    for (const std::string& linha : cabeca)
        t += linha + '\n';
    t += inicioExecucoes + '\n';
    size_t i = 0;
    for (const auto& [k, linha] : execucoes)
        t += linha + (++i < execucoes.size() ? ",\n" : "\n");
    return t + "  ]\n}\n";
}

bool RegistroExperimento::separar(const std::string& conteudo, std::vector<std::string>& cabeca,
                                  std::map<uint64_t, std::string>& execucoes) {
    std::vector<std::string> todas;
    size_t inicio = 0;
    for (size_t fim; (fim = conteudo.find('\n', inicio)) != std::string::npos; inicio = fim + 1)
        todas.push_back(conteudo.substr(inicio, fim - inicio));
    if (inicio != conteudo.size() || todas.size() < 4 || todas.front() != "{" ||
        todas.back() != "}" || todas[todas.size() - 2] != "  ]")
        return false;
    bool nasExecucoes = false;
    for (size_t i = 1; i + 2 < todas.size(); ++i) {
        std::string linha = todas[i];
        if (!nasExecucoes) {
            nasExecucoes = linha == inicioExecucoes;
            if (!nasExecucoes)
                cabeca.push_back(linha);
            continue;
        }
        if (!linha.empty() && linha.back() == ',')
            linha.pop_back();
        uint64_t k = 0;
        const char* p = linha.data() + prefixoExecucao.size();
        if (linha.rfind(prefixoExecucao, 0) != 0 ||
            std::from_chars(p, linha.data() + linha.size(), k).ec != std::errc() ||
            !execucoes.emplace(k, linha).second)
            return false;
    }
    return nasExecucoes;
}

std::string RegistroExperimento::citar(const std::string& texto) {
    std::string r = "\"";
    for (const char c : texto) {
        if (c == '"' || c == '\\') {
            (r += '\\') += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char u[8];
            std::snprintf(u, sizeof u, "\\u%04x", static_cast<unsigned>(c));
            r += u;
        } else {
            r += c;
        }
    }
    return r + '"';
}

std::string RegistroExperimento::lista(const std::vector<std::string>& textos) {
    std::string r = "[";
    for (const std::string& t : textos)
        r += (r.size() > 1 ? ", " : "") + citar(t);
    return r + "]";
}

} // namespace keldo::cli
