// The advanced settings dialog: the reminder before every check, the ranges.
#include "app/CAdvancedSettingsDlg.h"
#include "sim/SimulationParameters.h"
#include "test_dlg_apoio.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace keldo::sim;
using namespace keldo::app;

namespace {

const QString lembrete = QStringLiteral("Para que estes configurações tomem efeito uma nova "
                                        "configuração precisa ser criada (Ctrl+N)!");

TEST(ConfiguracoesAvancadasDlg, LembreteVemAntesDaMensagemDeFaixaACadaOk) {
    ObservadorModal observador;
    SimulationParameters parametros;
    CAdvancedSettingsDlg dialogo(parametros);
    dialogo.show();
    auto* rr = dialogo.findChild<QLineEdit*>(QStringLiteral("editReproRr"));
    EXPECT_EQ(rr->text(), QStringLiteral("400"));
    rr->setText(QStringLiteral("3000"));
    dialogo.accept();
    ASSERT_EQ(observador.caixas.size(), 2u);
    EXPECT_EQ(observador.caixas[0].titulo, QStringLiteral("Atenção"));
    EXPECT_EQ(observador.caixas[0].texto, lembrete);
    EXPECT_EQ(observador.caixas[0].icone, QMessageBox::Warning);
    EXPECT_EQ(observador.caixas[1].titulo, QStringLiteral("KELDO"));
    EXPECT_EQ(observador.caixas[1].texto,
              QStringLiteral("Please enter an integer between 50 and 2000."));
    EXPECT_EQ(dialogo.focusWidget(), rr);
    EXPECT_TRUE(dialogo.isVisible());

    rr->setText(QStringLiteral("-1"));
    dialogo.accept();
    ASSERT_EQ(observador.caixas.size(), 4u);
    EXPECT_EQ(observador.caixas[2].texto, lembrete);
    EXPECT_EQ(observador.caixas[3].texto, QStringLiteral("Please enter a positive integer."));

    rr->setText(QStringLiteral("2000"));
    dialogo.findChild<QLineEdit*>(QStringLiteral("editMorteMmHet"))->setText(QStringLiteral("201"));
    dialogo.accept();
    ASSERT_EQ(observador.caixas.size(), 6u);
    EXPECT_EQ(observador.caixas[5].texto,
              QStringLiteral("Please enter an integer between 0 and 200."));

    dialogo.findChild<QLineEdit*>(QStringLiteral("editMorteMmHet"))->setText(QStringLiteral("200"));
    dialogo.accept();
    EXPECT_EQ(observador.caixas.size(), 7u);
    EXPECT_EQ(dialogo.result(), QDialog::Accepted);
    dialogo.armazenarEm(parametros);
    EXPECT_EQ(parametros.repro_rr, 2000u);
    EXPECT_EQ(parametros.morte_Mm, 200u);
    EXPECT_EQ(parametros.detecta, 100u);
}

TEST(ConfiguracoesAvancadasDlg, ValoresPadraoPreenchemOsNoveCamposSemVerificar) {
    ObservadorModal observador;
    SimulationParameters parametros;
    parametros.detecta = 1;
    parametros.luta = 2;
    parametros.morte_mm = 3;
    parametros.morte_Mm = 4;
    parametros.morte_MM = 5;
    parametros.repro_rr = 60;
    parametros.repro_Rr = 70;
    parametros.repro_RR = 80;
    parametros.partilha = 9;
    CAdvancedSettingsDlg dialogo(parametros);
    const char* nomes[] = {"editDetecta",    "editLuta",    "editMorteMm",
                           "editMorteMmHet", "editMorteMM", "editReproRr",
                           "editReproRrHet", "editReproRR", "editPartilha"};
    dialogo.findChild<QLineEdit*>(QStringLiteral("editLuta"))->setText(QStringLiteral("x"));
    dialogo.findChild<QPushButton*>(QStringLiteral("botaoPadrao"))->click();
    QStringList textos;
    for (const char* nome : nomes)
        textos << dialogo.findChild<QLineEdit*>(QLatin1String(nome))->text();
    EXPECT_EQ(textos.join(QLatin1Char(' ')), QStringLiteral("100 50 40 20 0 400 200 400 0"));
    EXPECT_TRUE(observador.caixas.empty());
}

} // namespace

namespace {

// The captions are the genome table's names and genotypes, in the texts the
// dialog has always shown.
TEST(ConfiguracoesAvancadasDlg, RotulosDosGenesComoNoGenoma) {
    SimulationParameters parametros;
    CAdvancedSettingsDlg dialogo(parametros);
    const std::pair<const char*, QString> rotulos[] = {
        {"rotuloDetecta", QStringLiteral("Detecta")},       {"rotuloLuta", QStringLiteral("Luta")},
        {"rotuloMorte", QStringLiteral("Morte")},           {"rotuloMorteMm", QStringLiteral("mm")},
        {"rotuloMorteMmHet", QStringLiteral("Mm\nmM")},     {"rotuloMorteMM", QStringLiteral("MM")},
        {"rotuloReproducao", QStringLiteral("Reprodução")}, {"rotuloReproRr", QStringLiteral("rr")},
        {"rotuloReproRrHet", QStringLiteral("Rr\nrR")},     {"rotuloReproRR", QStringLiteral("RR")},
        {"rotuloPartilha", QStringLiteral("Partilha")}};
    for (const auto& [nome, texto] : rotulos) {
        const auto* rotulo = dialogo.findChild<QLabel*>(QLatin1String(nome));
        ASSERT_NE(rotulo, nullptr) << nome;
        EXPECT_EQ(rotulo->text(), texto) << nome;
    }
}

} // namespace
