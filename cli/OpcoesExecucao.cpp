#include "cli/OpcoesExecucao.h"
#include "sim/ParametrosPorNome.h"
#include "sim/TabelaParametros.h"
#include <charconv>

namespace keldo::cli {

using namespace keldo::sim;

namespace {
bool lerSemSinal(const std::string& texto, uint32_t& valor) {
    const char* fim = texto.data() + texto.size();
    uint32_t lido = 0;
    const auto [resto, erro] = std::from_chars(texto.data(), fim, lido, 10);
    if (texto.empty() || erro != std::errc() || resto != fim)
        return false;
    valor = lido;
    return true;
}

// Checks one NAME=VALUE against a scratch record, so that an unknown name or a
// malformed number is a usage error before any file is read.
std::string verificarDefinicao(const std::string& texto,
                               std::pair<std::string, std::string>& definicao) {
    const size_t igual = texto.find('=');
    if (igual == std::string::npos)
        return "--set espera NOME=VALOR, recebeu \"" + texto + "\"";
    definicao = {texto.substr(0, igual), texto.substr(igual + 1)};
    SimulationParameters rascunho;
    switch (definirParametroPorNome(rascunho, definicao.first, definicao.second)) {
    case ResultadoDefinicao::nomeDesconhecido:
        return "parâmetro desconhecido: " + definicao.first;
    case ResultadoDefinicao::valorInvalido:
        return "valor inválido para " + definicao.first + ": \"" + definicao.second +
               "\" (esperado " + valorEsperadoPor(definicao.first) + ")";
    default:
        return {};
    }
}

class Analisador {
  public:
    explicit Analisador(const std::vector<std::string>& argumentos) : args(argumentos) {}

    AnaliseArgumentos executar() {
        AnaliseArgumentos r;
        bool soArquivos = false;
        for (pos = 0; pos < args.size() && r.erro.empty() && !r.opcoes.ajuda && !r.opcoes.versao;
             ++pos) {
            const std::string& a = args[pos];
            if (soArquivos || a.empty() || a[0] != '-' || a == "-")
                r.erro = projeto(r.opcoes, a);
            else if (a == "--")
                soArquivos = true;
            else
                r.erro = opcao(r.opcoes, a);
        }
        if (r.erro.empty() && !r.opcoes.ajuda && !r.opcoes.versao)
            r.erro = verificarCombinacao(r.opcoes);
        return r;
    }

  private:
    const std::vector<std::string>& args;
    size_t pos = 0;

    static std::string projeto(OpcoesExecucao& o, const std::string& a) {
        if (o.projeto)
            return "mais de um projeto: \"" + *o.projeto + "\" e \"" + a + "\"";
        o.projeto = a;
        return {};
    }

    // The argument after an option; false when the line ends first.
    bool valor(std::string& v) {
        if (pos + 1 >= args.size())
            return false;
        v = args[++pos];
        return true;
    }

    std::string opcao(OpcoesExecucao& o, const std::string& a) {
        if (a == "--help" || a == "-h") {
            o.ajuda = true;
            return {};
        }
        if (a == "--version") {
            o.versao = true;
            return {};
        }
        if (a == "--new" || a == "--experiment" || a == "--params") {
            (a == "--new" ? o.novo : a == "--params" ? o.parametros : o.experimento.ativo) = true;
            return {};
        }
        if (a == "--referencia") {
            o.referencia = true;
            return {};
        }
        if (a == "--merge")
            return mesclar(o);
        if (a == "--vary-together")
            return variarJuntos(o);
        std::string v;
        if (opcaoDeExperimento(a)) {
            o.experimentoMencionado = true;
            return valor(v) ? lerOpcaoExperimento(o.experimento, a, v)
                            : "a opção " + a + " precisa de um valor";
        }
        if (a != "--seed" && a != "--cycles" && a != "--set" && a != "--trace" && a != "--save" &&
            a != "--summary")
            return "opção desconhecida: " + a;
        if (!valor(v))
            return "a opção " + a + " precisa de um valor";
        return opcaoComValor(o, a, v);
    }

    // The NAME=LIST arguments that follow, varied in step.
    std::string variarJuntos(OpcoesExecucao& o) {
        o.experimentoMencionado = true;
        std::vector<std::string> listas;
        while (pos + 1 < args.size() && args[pos + 1].rfind("--", 0) != 0 &&
               args[pos + 1].find('=') != std::string::npos)
            listas.push_back(args[++pos]);
        if (listas.size() < 2)
            return "--vary-together espera ao menos duas NOME=LISTA";
        return o.experimento.varredura.adicionarJuntos(listas);
    }

    // Every argument left: the output, then at least one table.
    std::string mesclar(OpcoesExecucao& o) {
        o.mescla.assign(args.begin() + static_cast<std::ptrdiff_t>(pos) + 1, args.end());
        pos = args.size();
        if (o.mescla.size() < 2)
            return "--merge espera SAIDA e ao menos uma TABELA";
        return {};
    }

    static std::string opcaoComValor(OpcoesExecucao& o, const std::string& a,
                                     const std::string& v) {
        if (a == "--seed" || a == "--cycles") {
            uint32_t n = 0;
            if (!lerSemSinal(v, n))
                return "valor inválido para " + a + ": \"" + v +
                       "\" (esperado inteiro de 0 a 4294967295)";
            if (a == "--seed")
                o.semente = n;
            else
                o.ciclos = n;
            return {};
        }
        if (a == "--set") {
            std::pair<std::string, std::string> definicao;
            std::string erro = verificarDefinicao(v, definicao);
            if (erro.empty()) {
                if (std::string aviso = avisoForaDoDialogo(definicao.first, definicao.second);
                    !aviso.empty())
                    o.avisos.push_back(std::move(aviso));
                o.definicoes.push_back(std::move(definicao));
            }
            return erro;
        }
        if (v.empty())
            return "a opção " + a + " precisa de um nome de arquivo";
        if (a == "--trace")
            o.arquivoTrace = v;
        else if (a == "--summary")
            o.arquivoResumo = v;
        else
            o.arquivoSalvar = v;
        return {};
    }
};
} // namespace

AnaliseArgumentos analisarArgumentos(const std::vector<std::string>& argumentos) {
    AnaliseArgumentos a = Analisador(argumentos).executar();
    a.opcoes.argumentos = argumentos;
    return a;
}

} // namespace keldo::cli
