#pragma once
#include "cli/OpcoesExperimento.h"
#include "cli/PreparoMundo.h"
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace keldo::cli {

// What one keldo-run command line asks for.
struct OpcoesExecucao {
    std::optional<uint32_t> semente;
    uint32_t ciclos = 100;
    bool novo = false;
    // --set NAME=VALUE in the order given; names and number formats already checked.
    std::vector<std::pair<std::string, std::string>> definicoes;
    std::optional<std::string> arquivoTrace;
    std::optional<std::string> arquivoResumo;
    std::optional<std::string> arquivoSalvar;
    std::optional<std::string> projeto;
    bool ajuda = false;
    bool versao = false;
    bool parametros = false; // --params
    bool referencia = false; // --referencia: the whole run on the reference neighbour search
    // --set values the dialogs would not take, each with what the model does with it (UTF-8).
    std::vector<std::string> avisos;
    OpcoesExperimento experimento;
    bool experimentoMencionado = false; // an experiment's option was given
    // The arguments after the program name, as given (an experiment's record).
    std::vector<std::string> argumentos;
    // --merge OUT FILE...: the output, then the task tables.
    std::vector<std::string> mescla;

    OrigemMundo origem() const { return {projeto, novo, definicoes}; }
};

// The options, or a one-line usage error (UTF-8) when `erro` is not empty.
struct AnaliseArgumentos {
    OpcoesExecucao opcoes;
    std::string erro;
};

// Reads the arguments after the program name. --help and --version win over
// anything after them.
AnaliseArgumentos analisarArgumentos(const std::vector<std::string>& argumentos);

// The text of --help (UTF-8).
std::string textoAjuda();

} // namespace keldo::cli
