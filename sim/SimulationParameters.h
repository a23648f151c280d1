#pragma once
#include "model/Individuo.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace keldo::sim {

using keldo::model::SpecX;

// The parameters of one simulation project. Texts are held in Windows-1252,
// as they are stored in project files.
struct SimulationParameters {
    int32_t numIndividuos = 100;
    int32_t taxaReposicao = 100;
    int32_t particaoAmbiente = 0;
    int32_t energiaMin = 200;
    std::string nivelObstaculos = "12";
    std::string criterioParada = "Manual";
    int32_t intervaloAnimacao = 1;
    int32_t qtdAlimento = 20;
    int32_t taxaMutacao = 1000;
    int32_t mostrarEnergia = 0;
    int32_t energiaMax = 200;
    int32_t salvarCiclos = 50;
    int32_t salvarAtivo = 0;
    int32_t mutacaoAtiva = 0;
    int32_t comDefinida = 0;
    uint32_t numIndDiscretas = 200;
    int32_t tipoPopulacao = 0; // 0 random ("Aleatória"), 1 defined ("Definida")
    int32_t tipoGeracoes = 0;  // 0 overlapping ("Sobrepostas"), 1 discrete ("Discretas")
    uint32_t tempoRealCiclo = 0;
    int32_t gerarTrace = 0;
    std::array<int32_t, keldo::model::Genoma::numPontosPermuta> taxaPermuta{5, 10, 50, 5, 10, 50};
    uint32_t detecta = 100;
    uint32_t luta = 50;
    uint32_t morte_mm = 40;
    uint32_t morte_Mm = 20;
    uint32_t morte_MM = 0;
    uint32_t repro_rr = 400;
    uint32_t repro_Rr = 200;
    uint32_t repro_RR = 400;
    uint32_t partilha = 0;
    std::vector<SpecX> listaDefinida;

    // Values that would break a run or a new world: outside the load range
    // of their row in `tabelaDeParametros()`, or a reversed food energy range.
    // Returns an empty text when every such value is usable, else a message (UTF-8).
    std::string valorInutilizavel() const;
};

} // namespace keldo::sim
