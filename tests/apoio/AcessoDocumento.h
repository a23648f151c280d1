#pragma once
// The document's inside for tests and benchmarks that build worlds and
// counters by hand or run one phase of a cycle on its own. No program reaches
// any of it: they change a document only through its public operations.
#include "sim/CKeldoDoc.h"
#include <string>
#include <vector>

namespace keldo::sim {

class AcessoDocumento {
  public:
    // The world and its counters, written by hand.
    static std::vector<SpecX>& vivosEditaveis(CKeldoDoc& d) { return d.vivos_; }
    static std::vector<SpecX>& mortosEditaveis(CKeldoDoc& d) {
        return d.mortos_.naMemoriaEditavel();
    }
    static std::vector<FoodX>& alimentosEditaveis(CKeldoDoc& d) { return d.alimentos_; }
    static SimulationParameters& parametrosEditaveis(CKeldoDoc& d) { return d.parametros_; }
    static EstatisticasPopulacao& estatisticasEditaveis(CKeldoDoc& d) { return d.estatisticas_; }
    static void definirTempo(CKeldoDoc& d, int32_t tempo) { d.tempo_ = tempo; }
    static void definirGeracao(CKeldoDoc& d, int32_t geracao) { d.geracao_ = geracao; }
    static void definirProximoId(CKeldoDoc& d, int32_t proximoId) { d.proximoId_ = proximoId; }
    static void definirOvos(CKeldoDoc& d, int32_t ovos) { d.ovos_ = ovos; }
    static void definirNumSnapshot(CKeldoDoc& d, int32_t numero) { d.numSnapshot_ = numero; }
    static void definirEstadoExecucao(CKeldoDoc& d, EstadoExecucao estado) {
        d.estadoExecucao_ = estado;
    }
    static EstadoExecucao estadoExecucao(const CKeldoDoc& d) { return d.estadoExecucao_; }
    static const std::string& status(const CKeldoDoc& d) { return d.status_; }

    // The steps of a world's creation, and what it asks of its obstacles.
    static void limparMundo(CKeldoDoc& d) { d.limparMundo(); }
    static void escolherNivel(CKeldoDoc& d) { d.escolherNivel(); }
    static void construirObstaculos(CKeldoDoc& d) { d.construirObstaculos(); }
    static const Rect* pontoEmObstaculo(const CKeldoDoc& d, int x, int y) {
        return d.pontoEmObstaculo(x, y);
    }
    static int caminhoBloqueado(const CKeldoDoc& d, int x1, int y1, int x2, int y2) {
        return d.caminhoBloqueado(x1, y1, x2, y2);
    }
    static void registrar(const CKeldoDoc& d, FoodX& alimento) { d.registrar(alimento); }
    static Ambiente::Parametros parametrosModelo(const CKeldoDoc& d) {
        return d.parametrosModelo();
    }

    // The phases of a cycle, one at a time.
    static void renovarGeracao(CKeldoDoc& d) { d.renovarGeracao(); }
    static void procurarParceira(CKeldoDoc& d) { d.procurarParceira(); }
    static int acasalar(CKeldoDoc& d, bool aposBusca = false) { return d.acasalar(aposBusca); }
    static SpecX* escolherParceiro(CKeldoDoc& d, const std::vector<SpecX*>& candidatos) {
        return d.escolherParceiro(candidatos);
    }
    static void procurarAlimento(CKeldoDoc& d) { d.procurarAlimento(); }
    static int comer(CKeldoDoc& d) { return d.comer(); }
    static void reporAlimento(CKeldoDoc& d, int comidos, int taxa) {
        d.reporAlimento(comidos, taxa);
    }
    static void moverIndividuos(CKeldoDoc& d) { d.moverIndividuos(); }
    static size_t maximoAoFimDoCiclo(const CKeldoDoc& d) { return d.maximoAoFimDoCiclo(); }
    static std::string nomeSnapshot(const CKeldoDoc& d, const std::string& caminhoProjeto) {
        return d.nomeSnapshot(caminhoProjeto);
    }
};

} // namespace keldo::sim
