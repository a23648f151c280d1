// The crossing-over rates dialog: its legend and its checks while typing.
#include "app/CExchangeRatesDlg.h"
#include "test_dlg_apoio.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace keldo::app;

namespace {

using Taxas = std::array<uint8_t, 6>;

int contarCromossomos(const QString& legenda) {
    return static_cast<int>(legenda.count(QStringLiteral("Genes do Cromossomo")));
}

TEST(TaxasPermutaDlg, LegendaAgrupaGenesEmCromossomosNasTaxasDe50) {
    EXPECT_EQ(CExchangeRatesDlg::montarLegenda({5, 10, 50, 5, 10, 50}),
              QStringLiteral("Genes do Cromossomo 1:\n\tVisão\n\tReprodução\n\tPartilha\n"
                             "Genes do Cromossomo 2:\n\tLuta\n\tMorte\n\tInteligencia\n"
                             "Genes do Cromossomo 3:\n\tNeutro\n"));
    const QString separados = CExchangeRatesDlg::montarLegenda({50, 50, 50, 50, 50, 50});
    EXPECT_EQ(contarCromossomos(separados), 7);
    EXPECT_TRUE(separados.contains(QStringLiteral("Genes do Cromossomo 7:\n\tNeutro\n")));
    const QString unidos = CExchangeRatesDlg::montarLegenda({0, 0, 0, 0, 0, 0});
    EXPECT_EQ(contarCromossomos(unidos), 1);
    EXPECT_TRUE(unidos.startsWith(QStringLiteral("Genes do Cromossomo 1:\n\tVisão\n")));
    // A boundary of 51 or more does not start a chromosome either.
    EXPECT_EQ(contarCromossomos(CExchangeRatesDlg::montarLegenda({51, 49, 0, 0, 0, 0})), 1);
}

TEST(TaxasPermutaDlg, LegendaSegueCadaTecla) {
    ObservadorModal observador;
    CExchangeRatesDlg dialogo(Taxas{0, 0, 0, 0, 0, 0});
    dialogo.show();
    auto* legenda = dialogo.findChild<QLabel*>(QStringLiteral("legenda"));
    auto* taxa = dialogo.findChild<QLineEdit*>(QStringLiteral("editTaxa3"));
    EXPECT_EQ(legenda->text(), dialogo.legenda());
    EXPECT_EQ(contarCromossomos(legenda->text()), 1);

    taxa->selectAll();
    QTest::keyClicks(taxa, QStringLiteral("5"));
    EXPECT_EQ(contarCromossomos(legenda->text()), 1);
    QTest::keyClicks(taxa, QStringLiteral("0"));
    EXPECT_EQ(contarCromossomos(legenda->text()), 2);
    EXPECT_TRUE(legenda->text().contains(QStringLiteral("\tLuta\nGenes do Cromossomo 2:\n")));
    EXPECT_EQ(dialogo.taxas()[3], 50);
    // Only digits go in.
    QTest::keyClicks(taxa, QStringLiteral("x-"));
    EXPECT_EQ(taxa->text(), QStringLiteral("50"));
    EXPECT_TRUE(observador.caixas.empty());
}

TEST(TaxasPermutaDlg, ValoresForaDaFaixaSaoRecusadosAoDigitar) {
    ObservadorModal observador;
    CExchangeRatesDlg dialogo(Taxas{50, 50, 50, 50, 50, 50});
    dialogo.show();
    auto* taxa = dialogo.findChild<QLineEdit*>(QStringLiteral("editTaxa1"));
    taxa->selectAll();
    QTest::keyClicks(taxa, QStringLiteral("70"));
    ASSERT_EQ(observador.caixas.size(), 1u);
    EXPECT_EQ(observador.caixas[0].texto,
              QStringLiteral("Please enter an integer between 0 and 50."));
    EXPECT_EQ(observador.caixas[0].titulo, QStringLiteral("KELDO"));
    // The boundary of 70 starts no chromosome: six remain.
    EXPECT_EQ(contarCromossomos(dialogo.legenda()), 6);

    taxa->setText(QString());
    ASSERT_EQ(observador.caixas.size(), 2u);
    EXPECT_EQ(observador.caixas[1].texto,
              QStringLiteral("Please enter an integer between 0 and 255."));
    dialogo.accept();
    EXPECT_EQ(observador.caixas.size(), 3u);
    EXPECT_TRUE(dialogo.isVisible());

    dialogo.findChild<QPushButton*>(QStringLiteral("botaoPadrao"))->click();
    EXPECT_EQ(taxa->text(), QStringLiteral("10"));
    EXPECT_EQ(contarCromossomos(dialogo.legenda()), 3);
    dialogo.accept();
    EXPECT_EQ(observador.caixas.size(), 3u);
    EXPECT_EQ(dialogo.result(), QDialog::Accepted);
    EXPECT_EQ(dialogo.taxas(), (Taxas{5, 10, 50, 5, 10, 50}));
}

} // namespace
