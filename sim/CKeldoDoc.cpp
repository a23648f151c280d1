#include "sim/CKeldoDoc.h"
#include <algorithm>
#include <array>
#include <ctime>

namespace keldo::sim {

CKeldoDoc::CKeldoDoc() : busca(BuscaVizinhos::criar(false, obstaculos, arena_)) {}

std::span<const Rect> CKeldoDoc::tabelaObstaculos(char codigo, int metade) {
    return ObstaculosNivel::tabela(codigo, metade);
}

void CKeldoDoc::escolherNivel() {
    obstaculos.escolher(parametros_.nivelObstaculos);
}

void CKeldoDoc::construirObstaculos() {
    obstaculos.construir();
}

int CKeldoDoc::indiceImagem(const SpecX& individuo) {
    if (!individuo.adulto())
        return 7;
    static constexpr int macho[3] = {1, 0, 2};
    static constexpr int femea[3] = {4, 3, 5};
    const int m = individuo.numAlelosMRecessivos();
    return individuo.sexo() ? macho[m] : femea[m];
}

Ambiente::Parametros CKeldoDoc::parametrosModelo() const {
    const SimulationParameters& p = parametros_;
    return {{p.repro_rr, p.repro_Rr, p.repro_RR},
            {p.morte_mm, p.morte_Mm, p.morte_MM},
            p.taxaPermuta,
            p.tipoGeracoes == 1,
            p.energiaMin,
            p.energiaMax};
}

void CKeldoDoc::registrar(FoodX& alimento) const {
    if (host_ && host_->registraImagens())
        alimento.image = 6;
}

void CKeldoDoc::limparMundo() {
    alimentos_.clear();
    vivos_.clear();
    mortos_.limpar();
    obstaculos.desfazer();
}

void CKeldoDoc::iniciarVazio(KeldoHost* novoHost) {
    host_ = novoHost;
    limparMundo();
    if (host_)
        arena_ = host_->areaCliente();
    escolherNivel();
    construirObstaculos();
    numSnapshot_ = 0;
    geracao_ = 0;
    tempo_ = 0;
    ovos_ = 0;
    estadoExecucao_ = EstadoExecucao::naoIniciado;
    rng_.semear(static_cast<uint32_t>(std::time(nullptr)));
    arquivo_.novo();
}

void CKeldoDoc::esvaziarMundo() {
    limparMundo();
    construirObstaculos();
    ovos_ = 0;
}

void CKeldoDoc::substituirIndividuos(std::vector<SpecX> novosVivos, std::vector<SpecX> novosMortos,
                                     int32_t proximoIdMinimo) {
    vivos_ = std::move(novosVivos);
    mortos_.substituir(std::move(novosMortos));
    geracao_ = 0;
    proximoId_ = std::max(proximoId_, proximoIdMinimo);
}

void CKeldoDoc::definirParametros(const SimulationParameters& novos) {
    parametros_ = novos;
}

void CKeldoDoc::iniciarExecucao() {
    // A run always changes the project, so closing will ask to save it.
    arquivo_.marcarModificado();
    estadoExecucao_ = EstadoExecucao::executando;
}

bool CKeldoDoc::criarMundo() {
    limparMundo();
    if (host_)
        arena_ = host_->areaCliente();
    numSnapshot_ = 0;
    escolherNivel();
    construirObstaculos();
    geracao_ = 0;
    tempo_ = 0;
    ovos_ = 0;
    sementeMundo_ = sementeFixa_ ? *sementeFixa_ : static_cast<uint32_t>(std::time(nullptr));
    rng_.semear(*sementeMundo_);

    if (parametros_.tipoPopulacao == 1 || parametros_.comDefinida == 1) {
        for (const SpecX& modelo : parametros_.listaDefinida) {
            SpecX copia(rng_); // the empty individual's four draws come first
            copia = modelo;
            copia.doc = this;
            do {
                copia.x = static_cast<float>(rng_.randomInt(100));
                copia.y = static_cast<float>(rng_.randomInt(100));
            } while (pontoEmObstaculo(static_cast<int>(copia.x), static_cast<int>(copia.y)));
            copia.loopNasc = tempo_;
            copia.anexar(this);
            proximoId_ = static_cast<int32_t>(static_cast<uint32_t>(copia.id) + 1u);
            if (!copia.adulto())
                ++ovos_;
            vivos_.push_back(copia);
        }
    }
    if (parametros_.tipoPopulacao == 0) {
        if (parametros_.comDefinida == 0)
            proximoId_ = 1;
        for (int i = 0; i < parametros_.numIndividuos; ++i) {
            SpecX fundador(proximoId_++, 0, this);
            if (!fundador.adulto())
                ++ovos_;
            vivos_.push_back(fundador);
        }
    }
    for (int i = 0; i < parametros_.qtdAlimento; ++i)
        alimentos_.emplace_back(0, this);
    estadoExecucao_ = EstadoExecucao::naoIniciado;
    estatisticas_.iniciar(*this);
    return true;
}

} // namespace keldo::sim
