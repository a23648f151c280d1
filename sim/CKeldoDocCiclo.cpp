// One cycle of the world and the generation turnover.
#include "sim/CKeldoDoc.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>

namespace keldo::sim {

using namespace keldo::model;

namespace {
// When the last throttled cycle ran; one value for the whole process.
uint32_t ultimoCiclo = 0;

uint32_t ticksSemHost() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
} // namespace

std::string CKeldoDoc::textoStatus() const {
    char texto[160];
    std::snprintf(texto, sizeof texto,
                  "Tempo: %d, Vivos: %d, Mortos: %d, Ovos: %d, Gera\xC3\xA7\xC3\xA3o: %d", tempo_,
                  static_cast<int>(vivos_.size()) - ovos_, static_cast<int>(numMortos()), ovos_,
                  geracao_);
    return texto;
}

void CKeldoDoc::atualizarStatus() {
    status_ = textoStatus();
    if (host_)
        host_->definirStatus(status_);
}

void CKeldoDoc::renovarGeracao() {
    if (parametros_.tipoGeracoes != 1 || static_cast<uint32_t>(ovos_) < parametros_.numIndDiscretas)
        return;
    size_t destino = 0;
    for (size_t k = 0; k < vivos_.size(); ++k) {
        SpecX& i = vivos_[k];
        if (i.adulto()) {
            i.definirBit(EstadoBit::vivo, false);
            i.loopMorto = tempo_;
            mortos_.adicionar(i);
            continue;
        }
        if (destino != k)
            vivos_[destino] = vivos_[k];
        ++destino;
    }
    vivos_.resize(destino);
    for (SpecX& ovo : vivos_)
        ovo.definirBit(EstadoBit::adulto, true);
    ovos_ = 0;
}

bool CKeldoDoc::geracaoParada() const {
    if (parametros_.tipoGeracoes != 1 ||
        static_cast<uint32_t>(ovos_) >= parametros_.numIndDiscretas)
        return false;
    bool macho = false, machoCuida = false, femeaDetecta = false, femeaAceita = false;
    for (const SpecX& i : vivos_) {
        if (!i.vivo() || !i.adulto())
            continue;
        if (i.sexo()) {
            macho = true;
            machoCuida = machoCuida || i.detectaCuida() != 0;
        } else if (i.detectaCuida() != 0) {
            femeaDetecta = true; // refuses a father who does not care
        } else {
            femeaAceita = true;
        }
    }
    return !((femeaAceita && macho) || (femeaDetecta && machoCuida));
}

void CKeldoDoc::salvarPeriodico() {
    bool salvo = true;
    if (host_) {
        host_->pararTimer();
        salvo = host_->salvarDocumento();
    } else if (arquivo_.temCaminho()) {
        salvo = salvarProjeto(std::string(arquivo_.caminho())).ok;
    }
    if (!salvo)
        ++salvamentosPeriodicosFalhos_; // a batch run goes on and reports it at the end
    // The counter stops at its largest value: later periodic saves rewrite that
    // snapshot rather than wrap to a negative number.
    if (numSnapshot_ < std::numeric_limits<int32_t>::max())
        ++numSnapshot_;
    if (!executando())
        return;
    arquivo_.marcarModificado();
    // After a failed save the run stays stopped: the next one would fail the
    // same way, so the user gets the chance to free space or choose another folder.
    if (!salvo)
        estadoExecucao_ = EstadoExecucao::parado;
    else if (host_)
        host_->iniciarTimer(5);
}

std::string CKeldoDoc::avisoLimiteMundo() {
    return "O mundo atingiu o limite de " + std::to_string(limiteMundo) +
           " indiv\xC3\xAD"
           "duos e alimentos; a simula\xC3\xA7\xC3\xA3o foi parada.";
}

void CKeldoDoc::interromperExecucao(const std::string& motivo) {
    estadoExecucao_ = EstadoExecucao::parado;
    if (host_)
        host_->execucaoParada(motivo);
}

size_t CKeldoDoc::maesPossiveis() const {
    size_t maes = 0;
    for (const SpecX& i : vivos_) // eggs that hatch first count too
        maes += !i.sexo() && i.vivo() && i.energia >= i.limiarReproducao;
    if (parametros_.tipoGeracoes == 1)
        maes = std::min<size_t>(maes, parametros_.numIndDiscretas);
    return maes;
}

// Deaths only take away. Each female mates at most once a cycle. The food
// eaten is at most all of it, and at a rate above 100 % every item eaten comes
// back more than once (one more for the rounding of the product).
size_t CKeldoDoc::maximoAoFimDoCiclo() const {
    const uint64_t taxa = static_cast<uint64_t>(std::max(parametros_.taxaReposicao, 100));
    const size_t alimentos = static_cast<size_t>((alimentos_.size() * taxa + 99) / 100) + 1;
    const size_t maximo = vivos_.size() + vivos_.size() + alimentos;
    if (maximo <= limiteMundo)
        return maximo; // no need to count the mothers
    return vivos_.size() + maesPossiveis() + alimentos;
}

void CKeldoDoc::guardarInicioCiclo() {
    inicioCiclo.vivos.assign(vivos_.begin(), vivos_.end());
    inicioCiclo.alimentos.assign(alimentos_.begin(), alimentos_.end());
    inicioCiclo.mortos = mortos_.quantidade();
    inicioCiclo.ovos = ovos_;
    inicioCiclo.proximoId = proximoId_;
    inicioCiclo.geracao = geracao_;
    inicioCiclo.rng = rng_;
}

void CKeldoDoc::restaurarInicioCiclo() {
    vivos_.assign(inicioCiclo.vivos.begin(), inicioCiclo.vivos.end()); // keeps the room reserved
    alimentos_.assign(inicioCiclo.alimentos.begin(), inicioCiclo.alimentos.end());
    mortos_.descartarDesde(inicioCiclo.mortos);
    ovos_ = inicioCiclo.ovos;
    proximoId_ = inicioCiclo.proximoId;
    geracao_ = inicioCiclo.geracao;
    rng_ = inicioCiclo.rng;
}

// Whether the cycle can end past the limit is known only once the food is
// eaten, so a cycle whose bound allows it runs from a copy of the world: the
// food it would add past the limit is never made, and a world that would end
// past it is put back. Every other cycle runs as it always did.
bool CKeldoDoc::fasesDoCiclo() {
    const bool vigiado = maximoAoFimDoCiclo() > limiteMundo;
    if (vigiado)
        guardarInicioCiclo();
    renovarGeracao();
    procurarParceira();
    acasalar(true);
    procurarAlimento();
    const int comidos = comer();
    const int repostos = std::max(itensRepostos(comidos, parametros_.taxaReposicao), 0);
    if (vigiado && alimentos_.size() + static_cast<size_t>(repostos) > limiteMundo) {
        restaurarInicioCiclo();
        return false;
    }
    reporAlimento(comidos, parametros_.taxaReposicao);
    moverIndividuos();
    if (vigiado && mundoAlemDoLimite()) {
        restaurarInicioCiclo();
        return false;
    }
    return true;
}

bool CKeldoDoc::executarCiclo() {
    if (mundoAlemDoLimite()) {
        interromperExecucao(avisoLimiteMundo());
        return false;
    }
    const uint32_t cicloAnterior = ultimoCiclo;
    if (parametros_.tempoRealCiclo > 0 && !ignorarTempoReal_) {
        const uint32_t agora = host_ ? host_->contadorTicks() : ticksSemHost();
        if (ultimoCiclo + parametros_.tempoRealCiclo > agora)
            return true;
        ultimoCiclo = host_ ? host_->contadorTicks() : ticksSemHost();
    }
    if (!fasesDoCiclo()) {
        ultimoCiclo = cicloAnterior;
        interromperExecucao(avisoLimiteMundo());
        return false;
    }
    tempo_ = static_cast<int32_t>(static_cast<uint32_t>(tempo_) + 1u);
    mortos_.guardarSeCheio();
    estatisticas_.registrar(*this);
    atualizarStatus();
    if (parametros_.intervaloAnimacao > 0 && tempo_ % parametros_.intervaloAnimacao == 0 && host_)
        host_->atualizarVistas();
    if (parametros_.salvarAtivo && parametros_.salvarCiclos > 0 &&
        tempo_ % parametros_.salvarCiclos == 0)
        salvarPeriodico();
    if (parametros_.gerarTrace == 1)
        escreverTrace("keldo_trace.txt", true);
    return true;
}

} // namespace keldo::sim
