// The parameters dialog: the food order check, the validation order and its
// messages, and what "Cancel" keeps.
#include "AcessoDocumento.h"
#include "app/CExchangeRatesDlg.h"
#include "app/CParametersDlg.h"
#include "app/CPopulationDlg.h"
#include "sim/CKeldoDoc.h"
#include "sim/SimulationParameters.h"
#include "test_dlg_apoio.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace keldo::sim;
using namespace keldo::gui;
using namespace keldo::model;
using namespace keldo::app;

namespace {

const QString mensagemOrdem =
    QStringLiteral("O valor superior do alimento precisa ser maior que o valor inferior!");

class ParametrosDlgTeste : public ::testing::Test {
  protected:
    template <class T> T* filho(const char* nome) {
        T* w = dialogo->findChild<T*>(QLatin1String(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }
    QLineEdit* edit(const char* nome) { return filho<QLineEdit>(nome); }
    void abrir() {
        dialogo = std::make_unique<CParametersDlg>(parametros, mundo);
        dialogo->show();
    }
    void confirmar() { filho<QDialogButtonBox>("botoes")->button(QDialogButtonBox::Ok)->click(); }

    SimulationParameters parametros;
    Ambiente* mundo = nullptr; // the world the dialogs draw from
    std::unique_ptr<CParametersDlg> dialogo;
    ObservadorModal observador;
};

TEST_F(ParametrosDlgTeste, OrdemDaEnergiaDoAlimentoComparaSemSinalENaoGuardaNadaSeRecusada) {
    abrir();
    confirmar(); // lower 200, upper 200
    EXPECT_EQ(dialogo->result(), QDialog::Accepted);
    EXPECT_TRUE(observador.caixas.empty());
    dialogo->show();
    edit("editNumIndividuos")->setText(QStringLiteral("55"));
    edit("editEnergiaMin")->setText(QStringLiteral("300"));
    edit("editEnergiaMax")->setText(QStringLiteral("200"));
    confirmar();
    ASSERT_EQ(observador.caixas.size(), 1u);
    EXPECT_EQ(observador.caixas[0].texto, mensagemOrdem);
    EXPECT_EQ(observador.caixas[0].titulo, QStringLiteral("KELDO"));
    EXPECT_EQ(observador.caixas[0].icone, QMessageBox::Warning);
    EXPECT_TRUE(dialogo->isVisible());
    EXPECT_EQ(parametros.numIndividuos, 100);
    EXPECT_EQ(parametros.energiaMin, 200);

    // A negative lower value compares as a huge one; a non-number upper one reads as 0.
    edit("editEnergiaMin")->setText(QStringLiteral("-5"));
    confirmar();
    edit("editEnergiaMin")->setText(QStringLiteral("200"));
    edit("editEnergiaMax")->setText(QStringLiteral("abc"));
    confirmar();
    ASSERT_EQ(observador.caixas.size(), 3u);
    EXPECT_EQ(observador.caixas[1].texto, mensagemOrdem);
    EXPECT_EQ(observador.caixas[2].texto, mensagemOrdem);

    // A negative upper value passes the order check and fails its range.
    edit("editEnergiaMax")->setText(QStringLiteral("-5"));
    confirmar();
    ASSERT_EQ(observador.caixas.size(), 4u);
    EXPECT_EQ(observador.caixas[3].texto,
              QStringLiteral("Please enter an integer between 1 and 500."));
    EXPECT_EQ(dialogo->focusWidget(), edit("editEnergiaMax"));

    // Equal values pass, and everything is stored at once.
    edit("editEnergiaMin")->setText(QStringLiteral("300"));
    edit("editEnergiaMax")->setText(QStringLiteral("300"));
    confirmar();
    EXPECT_EQ(observador.caixas.size(), 4u);
    EXPECT_EQ(dialogo->result(), QDialog::Accepted);
    EXPECT_FALSE(dialogo->isVisible());
    EXPECT_EQ(parametros.energiaMin, 300);
    EXPECT_EQ(parametros.energiaMax, 300);
    EXPECT_EQ(parametros.numIndividuos, 55);
}

TEST_F(ParametrosDlgTeste, ValidacaoParaNoPrimeiroCampoQueFalhaNaOrdemDeTroca) {
    abrir();
    edit("editTaxaMutacao")->setText(QStringLiteral("0"));
    edit("editTempoReal")->setText(QStringLiteral("-3"));
    confirmar();
    ASSERT_EQ(observador.caixas.size(), 1u);
    EXPECT_EQ(observador.caixas[0].texto,
              QStringLiteral("Please enter an integer between 1 and 10000."));
    EXPECT_EQ(observador.caixas[0].titulo, QStringLiteral("KELDO"));
    EXPECT_EQ(dialogo->focusWidget(), edit("editTaxaMutacao"));
    EXPECT_EQ(edit("editTaxaMutacao")->selectedText(), QStringLiteral("0"));
    EXPECT_EQ(parametros.taxaMutacao, 1000);

    edit("editTaxaMutacao")->setText(QStringLiteral("500"));
    confirmar();
    ASSERT_EQ(observador.caixas.size(), 2u);
    EXPECT_EQ(observador.caixas[1].texto, QStringLiteral("Please enter a positive integer."));
    EXPECT_EQ(dialogo->focusWidget(), edit("editTempoReal"));
    EXPECT_EQ(parametros.taxaMutacao, 1000) << "a refused confirmation stores nothing";

    // numIndividuos comes before the interval, which comes before the cycles.
    edit("editTempoReal")->setText(QStringLiteral("0"));
    edit("editSalvarCiclos")->setText(QStringLiteral("49"));
    edit("editIntervalo")->setText(QStringLiteral("x"));
    edit("editNumIndividuos")->setText(QStringLiteral("1001"));
    confirmar();
    edit("editNumIndividuos")->setText(QStringLiteral("1000"));
    confirmar();
    edit("editIntervalo")->setText(QStringLiteral("1000"));
    confirmar();
    ASSERT_EQ(observador.caixas.size(), 5u);
    EXPECT_EQ(observador.caixas[2].texto,
              QStringLiteral("Please enter an integer between 1 and 1000."));
    EXPECT_EQ(observador.caixas[3].texto, QStringLiteral("Please enter an integer."));
    EXPECT_EQ(observador.caixas[4].texto,
              QStringLiteral("Please enter an integer between 50 and 10000."));
    EXPECT_TRUE(dialogo->isVisible());
}

TEST_F(ParametrosDlgTeste, ControlesLigadosECamposOcultosPassamIntactos) {
    parametros.particaoAmbiente = 37;
    parametros.criterioParada = "Gera\xE7\xE3o"; // Windows-1252
    parametros.nivelObstaculos = "30";
    parametros.tipoGeracoes = 1;
    abrir();
    EXPECT_EQ(filho<QComboBox>("comboNivel")->currentText(), QStringLiteral("30"));
    EXPECT_TRUE(filho<QRadioButton>("radioDiscretas")->isChecked());
    EXPECT_FALSE(filho<QWidget>("editParticao")->isVisible());

    filho<QComboBox>("comboNivel")->setCurrentIndex(2);
    filho<QRadioButton>("radioDefinida")->click();
    filho<QCheckBox>("checkMostrarEnergia")->click();
    filho<QCheckBox>("checkTrace")->click();
    edit("editNumIndDiscretas")->setText(QStringLiteral("10000"));
    for (int vez = 0; vez < 2; ++vez) {
        confirmar();
        dialogo->show();
    }
    EXPECT_TRUE(observador.caixas.empty());
    EXPECT_EQ(parametros.nivelObstaculos, "15");
    EXPECT_EQ(parametros.tipoPopulacao, 1);
    EXPECT_EQ(parametros.mostrarEnergia, 1);
    EXPECT_EQ(parametros.gerarTrace, 1);
    EXPECT_EQ(parametros.numIndDiscretas, 10000u);
    EXPECT_EQ(parametros.particaoAmbiente, 37);
    EXPECT_EQ(parametros.criterioParada, "Gera\xE7\xE3o");
}

TEST_F(ParametrosDlgTeste, CancelarMantemOQueOsSubdialogosConfirmaram) {
    parametros.repro_rr = 999;
    abrir();
    edit("editQtdAlimento")->setText(QStringLiteral("7"));
    observador.aoAbrirDialogo([](QDialog* d) {
        auto* taxa = d->findChild<QLineEdit*>(QStringLiteral("editTaxa0"));
        taxa->setText(QStringLiteral("50"));
        QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
    });
    filho<QPushButton>("botaoPermuta")->click();
    // "Valores Padrão" then "Cancel" changes nothing.
    observador.aoAbrirDialogo([](QDialog* d) {
        d->findChild<QPushButton*>(QStringLiteral("botaoPadrao"))->click();
        QMetaObject::invokeMethod(d, "reject", Qt::QueuedConnection);
    });
    filho<QPushButton>("botaoAvancadas")->click();
    filho<QDialogButtonBox>("botoes")->button(QDialogButtonBox::Cancel)->click();

    EXPECT_EQ(dialogo->result(), QDialog::Rejected);
    EXPECT_EQ(parametros.taxaPermuta, (std::array<int32_t, 6>{50, 10, 50, 5, 10, 50}));
    EXPECT_EQ(parametros.qtdAlimento, 20);
    EXPECT_EQ(parametros.repro_rr, 999u);
    EXPECT_TRUE(observador.caixas.empty());
}

TEST_F(ParametrosDlgTeste, ValoresAvancadosVoltamSoComOk) {
    parametros.detecta = 7;
    parametros.repro_RR = 999;
    abrir();
    observador.aoAbrirDialogo([](QDialog* d) {
        d->findChild<QPushButton*>(QStringLiteral("botaoPadrao"))->click();
        d->findChild<QLineEdit*>(QStringLiteral("editPartilha"))->setText(QStringLiteral("12"));
        QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
    });
    filho<QPushButton>("botaoAvancadas")->click();
    ASSERT_EQ(observador.caixas.size(), 1u);
    EXPECT_EQ(observador.caixas[0].titulo, QStringLiteral("Atenção"));
    EXPECT_EQ(parametros.detecta, 100u);
    EXPECT_EQ(parametros.repro_RR, 400u);
    EXPECT_EQ(parametros.partilha, 12u);
}

// The population dialog sees the on-screen generations choice, works on
// copies (each begun as an empty individual: four draws), and its "OK"
// survives a cancelled parameters dialog.
TEST_F(ParametrosDlgTeste, DialogoDePopulacaoTrabalhaEmCopiasEVeAsGeracoesNaTela) {
    CKeldoDoc doc;
    mundo = &doc;
    parametros.tipoGeracoes = 1;
    SpecX modelo;
    modelo.id = 1;
    modelo.estado = EstadoBit::vivo; // an egg
    modelo.geracao = 1;
    parametros.listaDefinida = {modelo, modelo};
    abrir();
    filho<QRadioButton>("radioSobrepostas")->click();

    doc.semear(1234);
    bool ovoHabilitado = true;
    observador.aoAbrirDialogo([&ovoHabilitado](QDialog* d) {
        ovoHabilitado = d->findChild<QRadioButton*>(QStringLiteral("estagio1"))->isEnabled();
        QMetaObject::invokeMethod(d, "reject", Qt::QueuedConnection);
    });
    filho<QPushButton>("botaoPopulacao")->click();
    EXPECT_FALSE(ovoHabilitado);
    Random esperado(1234);
    for (int i = 0; i < 8; ++i)
        esperado.proximo();
    EXPECT_EQ(doc.gerador().estadoAtual(), esperado.estadoAtual());
    EXPECT_EQ(parametros.listaDefinida.size(), 2u);

    observador.aoAbrirDialogo([](QDialog* d) {
        d->findChild<QLineEdit*>(QStringLiteral("editQtde"))->setText(QStringLiteral("3"));
        d->findChild<QPushButton*>(QStringLiteral("botaoAdicionar"))->click();
        QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
    });
    filho<QPushButton>("botaoPopulacao")->click();
    filho<QDialogButtonBox>("botoes")->button(QDialogButtonBox::Cancel)->click();
    ASSERT_EQ(parametros.listaDefinida.size(), 5u);
    EXPECT_EQ(parametros.listaDefinida[1].adulto(), 0);
    EXPECT_EQ(parametros.listaDefinida[1].geracao, 1u);
    EXPECT_EQ(parametros.listaDefinida[4].id, 5);
    EXPECT_EQ(parametros.listaDefinida[4].adulto(), 1);
    EXPECT_EQ(parametros.tipoGeracoes, 1);
    EXPECT_TRUE(observador.caixas.empty());
}

// What the dialog stores is what the next world is made of, and it survives
// a save and a reload.
TEST(ParametrosDlgDocumento, MundoNovoEArquivoDoProjetoLevamOsValoresConfirmados) {
    ObservadorModal observador;
    CKeldoDoc doc;
    doc.definirSementeFixa(5);
    {
        CParametersDlg dialogo(AcessoDocumento::parametrosEditaveis(doc));
        dialogo.show();
        dialogo.findChild<QLineEdit*>(QStringLiteral("editNumIndividuos"))
            ->setText(QStringLiteral("5"));
        dialogo.findChild<QLineEdit*>(QStringLiteral("editQtdAlimento"))
            ->setText(QStringLiteral("7"));
        dialogo.findChild<QComboBox*>(QStringLiteral("comboNivel"))->setCurrentIndex(0);
        dialogo.findChild<QLineEdit*>(QStringLiteral("editTempoReal"))
            ->setText(QStringLiteral("250"));
        dialogo.accept();
        ASSERT_EQ(dialogo.result(), QDialog::Accepted);
    }
    ASSERT_TRUE(doc.criarMundo());
    EXPECT_EQ(doc.vivos().size(), 5u);
    EXPECT_EQ(doc.alimentos().size(), 7u);
    EXPECT_EQ(doc.codigoNivel(), 'r');

    CKeldoDoc relido;
    ASSERT_TRUE(relido.carregarBytes(doc.serializar()).ok);
    EXPECT_EQ(relido.parametros().numIndividuos, 5);
    EXPECT_EQ(relido.parametros().qtdAlimento, 7);
    EXPECT_EQ(relido.parametros().nivelObstaculos, "0");
    EXPECT_EQ(relido.parametros().tempoRealCiclo, 250u);
    EXPECT_TRUE(observador.caixas.empty());
}

} // namespace
