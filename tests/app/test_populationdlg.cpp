// The initial population dialog: its line texts, their numbering, and the
// templates rebuilt from them.
#include "app/CPopulationDlg.h"
#include "sim/CKeldoDoc.h"
#include "test_dlg_apoio.h"
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace keldo::sim;
using namespace keldo::gui;
using namespace keldo::model;
using namespace keldo::app;

namespace {

class PopulacaoDlgTeste : public ::testing::Test {
  protected:
    void abrir(std::vector<SpecX> modelos = {}, bool sobrepostas = false) {
        dialogo = std::make_unique<CPopulationDlg>(std::move(modelos), &doc, sobrepostas);
        dialogo->show();
        lista = dialogo->findChild<QListWidget*>(QStringLiteral("listaIndividuos"));
    }
    void escolher(const char* radio) {
        auto* botao = dialogo->findChild<QRadioButton*>(QLatin1String(radio));
        ASSERT_NE(botao, nullptr) << radio;
        botao->click();
    }
    void adicionar(int qtde) {
        dialogo->findChild<QLineEdit*>(QStringLiteral("editQtde"))->setText(QString::number(qtde));
        dialogo->findChild<QPushButton*>(QStringLiteral("botaoAdicionar"))->click();
    }
    QString contagem() const {
        return dialogo->findChild<QLabel*>(QStringLiteral("contagem"))->text();
    }
    QStringList selecionadas() const {
        QStringList textos;
        for (const QListWidgetItem* item : lista->selectedItems())
            textos << item->text();
        return textos;
    }

    CKeldoDoc doc;
    std::unique_ptr<CPopulationDlg> dialogo;
    QListWidget* lista = nullptr;
    ObservadorModal observador;
};

TEST_F(PopulacaoDlgTeste, AdicionarNumeraAsLinhasESelecionaAUltima) {
    abrir();
    EXPECT_EQ(contagem(), QStringLiteral("0"));
    adicionar(3);
    const QString resto =
        QStringLiteral("M\tA\tD\tC\tV1\tV1\tR\tR\tP\tP\tL\tL\tM\tM\tI1\tI1\tN\tN");
    EXPECT_EQ(dialogo->linhas(),
              (QStringList{QStringLiteral("00001\t") + resto, QStringLiteral("00002\t") + resto,
                           QStringLiteral("00003\t") + resto}));
    EXPECT_EQ(selecionadas(), QStringList{QStringLiteral("00003\t") + resto});
    EXPECT_EQ(contagem(), QStringLiteral("3"));

    // A male's fifth column is his Y; a female's, the right column's X.
    escolher("cuida1");
    adicionar(1);
    escolher("sexo1");
    escolher("detecDir1");
    adicionar(1);
    EXPECT_TRUE(dialogo->linhas()[3].startsWith(QStringLiteral("00004\tM\tA\tD\tc\t")));
    EXPECT_TRUE(dialogo->linhas()[4].startsWith(QStringLiteral("00005\tF\tA\tD\td\t")));
    EXPECT_TRUE(observador.caixas.empty());
}

TEST_F(PopulacaoDlgTeste, EscolhaDoSexoTrocaEntreOYEOSegundoX) {
    abrir();
    auto habilitado = [this](const char* nome) {
        return dialogo->findChild<QRadioButton*>(QLatin1String(nome))->isEnabled();
    };
    EXPECT_TRUE(habilitado("cuida0"));
    EXPECT_FALSE(habilitado("detecDir0"));
    escolher("sexo1");
    EXPECT_FALSE(habilitado("cuida1"));
    EXPECT_TRUE(habilitado("detecDir1"));
    EXPECT_TRUE(habilitado("estagio1"));
}

TEST_F(PopulacaoDlgTeste, QuantidadeVerificadaAntesDeAdicionarQualquerCoisa) {
    abrir();
    adicionar(0);
    dialogo->findChild<QLineEdit*>(QStringLiteral("editQtde"))->setText(QStringLiteral("dois"));
    dialogo->findChild<QPushButton*>(QStringLiteral("botaoAdicionar"))->click();
    dialogo->accept();
    ASSERT_EQ(observador.caixas.size(), 3u);
    EXPECT_EQ(observador.caixas[0].texto,
              QStringLiteral("Please enter an integer between 1 and 10000."));
    EXPECT_EQ(observador.caixas[0].titulo, QStringLiteral("KELDO"));
    EXPECT_EQ(observador.caixas[1].texto, QStringLiteral("Please enter an integer."));
    EXPECT_EQ(lista->count(), 0);
    EXPECT_TRUE(dialogo->isVisible());
}

// The example line: a female adult, Dd, V2/V3 R/r P/p L/l M/m I4/I1 N/n.
TEST_F(PopulacaoDlgTeste, LinhaViraOModeloQueDescreve) {
    doc.semear(99);
    abrir();
    for (const char* radio :
         {"sexo1", "detecEsq0", "detecDir1", "visaoEsq1", "visaoDir2", "reproEsq0", "reproDir1",
          "partilhaEsq0", "partilhaDir1", "lutaEsq0", "lutaDir1", "morteEsq0", "morteDir1",
          "intelEsq3", "intelDir0", "neutroEsq0", "neutroDir1"})
        escolher(radio);
    adicionar(1);
    const QString linha =
        QStringLiteral("00001\tF\tA\tD\td\tV2\tV3\tR\tr\tP\tp\tL\tl\tM\tm\tI4\tI1\tN\tn");
    ASSERT_EQ(dialogo->linhas(), QStringList{linha});
    dialogo->accept();
    ASSERT_EQ(dialogo->result(), QDialog::Accepted);
    ASSERT_EQ(dialogo->modelos().size(), 1u);
    const SpecX& m = dialogo->modelos()[0];
    EXPECT_EQ(m.sexo(), 0);
    EXPECT_EQ(m.adulto(), 1);
    EXPECT_EQ(m.vivo(), 1);
    EXPECT_EQ(m.detecXBit(), 1);
    EXPECT_EQ(m.detecXCuidaYBit(), 0);
    EXPECT_EQ(m.genotipoP, 0x0FF);
    EXPECT_EQ(m.genotipoM, 0x100);
    EXPECT_EQ(Genoma::alelo(Genoma::Visao, m.genotipoP), 1);
    EXPECT_EQ(Genoma::alelo(Genoma::Visao, m.genotipoM), 2);
    EXPECT_EQ(m.geracao, 0u);
    EXPECT_EQ(m.id, 1);
    EXPECT_EQ(m.inteligencia, 75);
    EXPECT_EQ(CPopulationDlg::textoDoModelo(m, 1), linha);

    // The template began as a random founder drawn from the document.
    CKeldoDoc outro;
    outro.semear(99);
    const SpecX fundador(1, 0, &outro);
    EXPECT_EQ(m.x, fundador.x);
    EXPECT_EQ(m.y, fundador.y);
    EXPECT_EQ(m.dirX, fundador.dirX);
    EXPECT_EQ(doc.gerador().estadoAtual(), outro.gerador().estadoAtual());
}

TEST_F(PopulacaoDlgTeste, ExcluirRenumeraERefazOsModelos) {
    abrir();
    for (const char* sexo : {"sexo0", "sexo1", "sexo0", "sexo1", "sexo0"}) {
        escolher(sexo);
        adicionar(1);
    }
    const QString quarta = dialogo->linhas()[3];
    lista->clearSelection();
    lista->item(1)->setSelected(true);
    lista->item(2)->setSelected(true);
    lista->setFocus();
    QTest::keyClick(lista, Qt::Key_Delete);
    const QStringList restantes = dialogo->linhas();
    ASSERT_EQ(restantes.size(), 3);
    EXPECT_TRUE(restantes[0].startsWith(QStringLiteral("00001\tM")));
    EXPECT_EQ(restantes[1], QStringLiteral("00002") + quarta.mid(5));
    EXPECT_TRUE(restantes[2].startsWith(QStringLiteral("00003\tM")));
    EXPECT_EQ(contagem(), QStringLiteral("3"));
    ASSERT_EQ(dialogo->modelos().size(), 3u);
    EXPECT_EQ(dialogo->modelos()[1].id, 2);
    EXPECT_EQ(dialogo->modelos()[1].sexo(), 0);
    adicionar(1);
    EXPECT_TRUE(dialogo->linhas()[3].startsWith(QStringLiteral("00004\t")));
}

TEST_F(PopulacaoDlgTeste, OvosExistentesContinuamOvosComGeracoesSobrepostas) {
    SpecX ovo;
    ovo.estado = EstadoBit::vivo | EstadoBit::sexo | EstadoBit::detecXCuidaY;
    ovo.genotipoP = 0x1FF;
    ovo.genotipoM = 0x0AA;
    ovo.geracao = 1;
    abrir({ovo}, true);
    EXPECT_FALSE(dialogo->findChild<QRadioButton*>(QStringLiteral("estagio1"))->isEnabled());
    EXPECT_EQ(dialogo->linhas(),
              QStringList{QStringLiteral(
                  "00001\tM\tO\td\tC\tV4\tV2\tR\tr\tP\tP\tL\tl\tM\tM\tI4\tI2\tN\tn")});
    EXPECT_EQ(contagem(), QStringLiteral("1"));
    dialogo->accept();
    ASSERT_EQ(dialogo->modelos().size(), 1u);
    const SpecX& m = dialogo->modelos()[0];
    EXPECT_EQ(m.adulto(), 0);
    EXPECT_EQ(m.geracao, 1u);
    EXPECT_EQ(m.genotipoP, 0x1FF);
    EXPECT_EQ(m.genotipoM, 0x0AA);
}

} // namespace
