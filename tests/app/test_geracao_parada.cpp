// Discrete generations that can no longer renew: the status line says so,
// and only when no adult pair is left that could lay the missing eggs.
#include "IndividuoTeste.h"
#include "app/CMainFrame.h"
#include <QTest>
#include <gtest/gtest.h>

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
        doc().parametrosEditaveis().tipoGeracoes = 1;
        doc().parametrosEditaveis().numIndDiscretas = 40;
        doc().vivosEditaveis().clear();
        // Two females carrying D (who accept any father) and 34 eggs.
        doc().vivosEditaveis().push_back(individuo(doc(), 1, adulto | EstadoBit::detecX));
        doc().vivosEditaveis().push_back(individuo(doc(), 2, adulto | EstadoBit::detecX));
        for (int32_t k = 0; k < 34; ++k)
            doc().vivosEditaveis().push_back(individuo(doc(), 10 + k, EstadoBit::vivo));
        doc().definirOvos(34);
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
    m.doc().vivosEditaveis().push_back(individuo(m.doc(), 3, adulto | EstadoBit::sexo));
    EXPECT_FALSE(m.doc().geracaoParada());
    EXPECT_FALSE(m.status().contains(QStringLiteral("PARADA")));

    // Females dd detect that he does not care and refuse him.
    for (int k = 0; k < 2; ++k)
        m.doc().vivosEditaveis()[static_cast<size_t>(k)].definirBit(EstadoBit::detecX, false);
    ASSERT_NE(m.doc().vivosEditaveis()[0].detectaCuida(), 0);
    ASSERT_EQ(m.doc().vivosEditaveis().back().detectaCuida(), 0);
    EXPECT_TRUE(m.doc().geracaoParada());

    // A caring male ends it.
    SpecX cuida = individuo(m.doc(), 4, adulto | EstadoBit::sexo | EstadoBit::detecXCuidaY);
    ASSERT_NE(cuida.detectaCuida(), 0);
    m.doc().vivosEditaveis().push_back(cuida);
    EXPECT_FALSE(m.doc().geracaoParada());
}

TEST(GeracaoParada, NuncaComOvosSuficientesNemEmGeracoesSobrepostas) {
    MundoDiscreto m;
    m.doc().definirOvos(40); // the renewal comes at the next cycle
    EXPECT_FALSE(m.doc().geracaoParada());
    m.doc().definirOvos(34);
    m.doc().parametrosEditaveis().tipoGeracoes = 0;
    EXPECT_FALSE(m.doc().geracaoParada());
    EXPECT_FALSE(m.status().contains(QStringLiteral("PARADA")));
}
