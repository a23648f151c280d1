#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace keldo::cli {

struct OpcoesExecucao;

// The record beside an experiment's table (JSON, UTF-8, LF): what made the
// table (version, command line, seed, every effective parameter, the lists,
// --cycles, --every, --until, the fingerprint) and one line per run. One key
// per line and one run per line, so that --merge can join the parts'
// records line by line.
class RegistroExperimento {
  public:
    struct Execucao {
        uint64_t k = 0;
        std::vector<std::pair<std::string, std::string>> combinacao;
        uint32_t replica = 0;
        uint32_t semente = 0;
        bool falhou = false;
        std::string parada;                 // empty: the run left no rows
        std::optional<int32_t> ultimoCiclo; // the last row's cycle
        std::string erro;                   // why it failed
    };

    // The record's file: --record, else the table's name and ".json"; empty
    // for a table on standard output without --record.
    static std::string destino(const OpcoesExecucao& o);

    // `parametros`: every parameter by name with its value as --set takes it.
    RegistroExperimento(const OpcoesExecucao& o, uint32_t semente, const std::string& impressao,
                        const std::vector<std::pair<std::string, std::string>>& parametros);

    // Thread-safe.
    void anotar(const Execucao& e);
    // The opening lines, each ending in a comma.
    const std::vector<std::string>& abertura() const { return linhas; }
    // The whole record, runs in their order.
    std::string texto() const;

    // The opening lines (after "{", up to the runs) and the runs' lines
    // (without their commas) of a record's text; false when it is not one.
    static bool separar(const std::string& conteudo, std::vector<std::string>& cabeca,
                        std::map<uint64_t, std::string>& execucoes);
    // A record from those parts, runs in order.
    static std::string juntar(const std::vector<std::string>& cabeca,
                              const std::map<uint64_t, std::string>& execucoes);
    // A JSON string of UTF-8 text.
    static std::string citar(const std::string& texto);
    // A JSON array of strings.
    static std::string lista(const std::vector<std::string>& textos);

  private:
    std::vector<std::string> linhas; // the opening lines, each key's ending in a comma
    mutable std::mutex trava;
    std::map<uint64_t, std::string> execucoes;
};

} // namespace keldo::cli
