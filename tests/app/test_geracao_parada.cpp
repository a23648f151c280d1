// Discrete generations that can no longer renew: the status line says so,
// and only when no adult pair is left that could lay the missing eggs.
#include "AcessoDocumento.h"
#include "IndividuoTeste.h"
#include "app/CMainFrame.h"
#include <QTest>
#include <gtest/gtest.h>

using namespace keldo::gui;
using namespace keldo::model;
using namespace keldo::sim;
using namespace keldo::app;

namespace {

constexpr unsigned adulto = EstadoBit::adulto | EstadoBit::vivo;

SpecX individuo(CKeldoDoc& doc, int32_t id, unsigned estado) {
    return IndividuoTeste(id).em(10.0f + static_cast<float>(id), 50.0f).estado(estado).anexado(doc);
}

struct MundoDiscreto {
    CMainFrame frame;
    MundoDiscreto() {
        doc().definirSementeFixa(3u);
        EXPECT_TRUE(frame.iniciarDocumento(QString()));
        AcessoDocumento::parametrosEditaveis(doc()).tipoGeracoes = 1;
        AcessoDocumento::parametrosEditaveis(doc()).numIndDiscretas = 40;
        AcessoDocumento::vivosEditaveis(doc()).clear();
        // Two females carrying D (who accept any father) and 34 eggs.
        AcessoDocumento::vivosEditaveis(doc()).push_back(
            individuo(doc(), 1, adulto | EstadoBit::detecX));
        AcessoDocumento::vivosEditaveis(doc()).push_back(
            individuo(doc(), 2, adulto | EstadoBit::detecX));
        for (int32_t k = 0; k < 34; ++k)
            AcessoDocumento::vivosEditaveis(doc()).push_back(
                individuo(doc(), 10 + k, EstadoBit::vivo));
        AcessoDocumento::definirOvos(doc(), 34);
    }
    ~MundoDiscreto() { doc().arquivo().marcarSalvo(); }
    CKeldoDoc& doc() { return frame.documento(); }
    QString status() {
        frame.atualizarLinhaStatus();
        return frame.textoStatus();
    }
};

const QString aviso =
    QStringLiteral("GERAÇÃO PARADA: faltam 6 ovos e nenhum casal de adultos pode pô-los");

} // namespace

TEST(GeracaoParada, SemCasalQuePossaPorOsOvosALinhaDeStatusDiz) {
    MundoDiscreto m;
    EXPECT_TRUE(m.doc().geracaoParada());
    EXPECT_TRUE(m.status().endsWith(aviso)) << m.status().toStdString();
    EXPECT_TRUE(m.status().startsWith(QStringLiteral("Tempo: ")));

    // A male who does not care: the females accept him, so eggs can come.
    AcessoDocumento::vivosEditaveis(m.doc()).push_back(
        individuo(m.doc(), 3, adulto | EstadoBit::sexo));
    EXPECT_FALSE(m.doc().geracaoParada());
    EXPECT_FALSE(m.status().contains(QStringLiteral("PARADA")));

    // Females dd detect that he does not care and refuse him.
    for (int k = 0; k < 2; ++k)
        AcessoDocumento::vivosEditaveis(m.doc())[static_cast<size_t>(k)].definirBit(
            EstadoBit::detecX, false);
    ASSERT_NE(AcessoDocumento::vivosEditaveis(m.doc())[0].detectaCuida(), 0);
    ASSERT_EQ(AcessoDocumento::vivosEditaveis(m.doc()).back().detectaCuida(), 0);
    EXPECT_TRUE(m.doc().geracaoParada());

    // A caring male ends it.
    SpecX cuida = individuo(m.doc(), 4, adulto | EstadoBit::sexo | EstadoBit::detecXCuidaY);
    ASSERT_NE(cuida.detectaCuida(), 0);
    AcessoDocumento::vivosEditaveis(m.doc()).push_back(cuida);
    EXPECT_FALSE(m.doc().geracaoParada());
}

TEST(GeracaoParada, NuncaComOvosSuficientesNemEmGeracoesSobrepostas) {
    MundoDiscreto m;
    AcessoDocumento::definirOvos(m.doc(), 40); // the renewal comes at the next cycle
    EXPECT_FALSE(m.doc().geracaoParada());
    AcessoDocumento::definirOvos(m.doc(), 34);
    AcessoDocumento::parametrosEditaveis(m.doc()).tipoGeracoes = 0;
    EXPECT_FALSE(m.doc().geracaoParada());
    EXPECT_FALSE(m.status().contains(QStringLiteral("PARADA")));
}
