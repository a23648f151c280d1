#pragma once
#include "io/CArchive.h"
#include "model/FoodX.h"
#include "model/Individuo.h"
#include "model/Random.h"
#include "sim/SimulationParameters.h"
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace keldo::sim {

using keldo::io::CArchive;
using keldo::io::FalhaArquivo;
using keldo::model::FoodX;
using keldo::model::Random;
using keldo::model::SpecX;

// Outcome of reading or writing a project file. `mensagem` is UTF-8 text
// for the user of keldo-run, with the reason.
struct ResultadoArquivo {
    bool ok = true;
    bool versaoInvalida = false;
    FalhaArquivo falha = FalhaArquivo::nenhuma;
    int erroSistema = 0; // errno of a failed read or write
    std::string mensagem;
    std::string mantido = {}; // where a save that failed kept the new content, if it did
};

// The ".gen" project file's format: the version, the counters, the parameter
// record and the four lists, each record checked as it is read. The document
// writes its world through it and reads a file into a `Conteudo` apart from the
// world in memory, so that a failed read leaves that world untouched.
class ArquivoProjeto {
  public:
    // Everything a file holds.
    struct Conteudo {
        SimulationParameters parametros;
        int32_t tempo = 0, proximoId = 0, geracao = 0, numSnapshot = 0;
        std::vector<FoodX> alimentos;
        std::vector<SpecX> vivos, mortos;
        // Set before reading: the dead are read and counted, not kept.
        bool soContarMortos = false;
        uint32_t mortosContados = 0;
    };

    // Everything up to the dead: the caller then writes their count and each of them.
    static void escreverInicio(CArchive& ar, int32_t tempo, int32_t proximoId, int32_t geracao,
                               SimulationParameters& parametros, int32_t& numSnapshot,
                               std::vector<FoodX>& alimentos, std::vector<SpecX>& vivos);
    static void escreverMorto(CArchive& ar, SpecX morto);
    // Reads a whole file into `c`; the empty individuals of the records draw from `rng`.
    // A file whose food items and living individuals together, or whose
    // defined population, pass `limiteMundo` is refused on their counts.
    static ResultadoArquivo ler(CArchive& ar, Random& rng, Conteudo& c, size_t limiteMundo);
    // Opens a regular file and hands `carregar` an archive that reads it as
    // the fields are taken, so that a damaged file is refused after its valid part.
    template <class Carregar>
    static ResultadoArquivo abrir(const std::string& caminho, Carregar&& carregar) {
        std::FILE* arquivo = nullptr;
        std::uintmax_t tamanho = 0;
        ResultadoArquivo r = abrirArquivo(caminho, arquivo, tamanho);
        if (!r.ok)
            return r;
        const std::unique_ptr<std::FILE, int (*)(std::FILE*)> fechar(arquivo, &std::fclose);
        CArchive ar([&](uint8_t* destino, size_t n) { return std::fread(destino, 1, n, arquivo); },
                    tamanho);
        return carregar(ar);
    }
    // The message of a file that could not be opened or written, with the reason.
    static ResultadoArquivo falha(FalhaArquivo falha, int erro, const std::string& caminho);

  private:
    static ResultadoArquivo abrirArquivo(const std::string& caminho, std::FILE*& arquivo,
                                         std::uintmax_t& tamanho);
};

} // namespace keldo::sim
