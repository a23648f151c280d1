// Every dialog range of the core's parameter table is the one its dialog
// enforces: each bound is taken, one past it is refused with the range message.
#include "app/CAdvancedSettingsDlg.h"
#include "app/CExchangeRatesDlg.h"
#include "app/CParametersDlg.h"
#include "gui/Validacao.h"
#include "sim/TabelaParametros.h"
#include "test_dlg_apoio.h"
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <map>

using namespace keldo::gui;
using namespace keldo::sim;
using namespace keldo::app;

namespace {

enum class Dialogo { parametros, avancadas, permuta };

struct Campo {
    Dialogo dialogo;
    const char* edit;
    // What a negative number shows where the field's own type refuses it
    // first; empty: the range message.
    QString negativo;
};

const QString positivo = QStringLiteral("Please enter a positive integer.");

const std::map<std::string_view, Campo> campos = {
    {"numIndividuos", {Dialogo::parametros, "editNumIndividuos", {}}},
    {"taxaReposicao", {Dialogo::parametros, "editTaxaReposicao", {}}},
    {"energiaMin", {Dialogo::parametros, "editEnergiaMin", {}}},
    {"intervaloAnimacao", {Dialogo::parametros, "editIntervalo", {}}},
    {"qtdAlimento", {Dialogo::parametros, "editQtdAlimento", {}}},
    {"taxaMutacao", {Dialogo::parametros, "editTaxaMutacao", {}}},
    {"energiaMax", {Dialogo::parametros, "editEnergiaMax", {}}},
    {"salvarCiclos", {Dialogo::parametros, "editSalvarCiclos", {}}},
    {"numIndDiscretas", {Dialogo::parametros, "editNumIndDiscretas", positivo}},
    {"tempoRealCiclo", {Dialogo::parametros, "editTempoReal", positivo}},
    {"taxaPermuta0", {Dialogo::permuta, "editTaxa0", Validacao::mensagemIntervalo(0, 255)}},
    {"taxaPermuta1", {Dialogo::permuta, "editTaxa1", Validacao::mensagemIntervalo(0, 255)}},
    {"taxaPermuta2", {Dialogo::permuta, "editTaxa2", Validacao::mensagemIntervalo(0, 255)}},
    {"taxaPermuta3", {Dialogo::permuta, "editTaxa3", Validacao::mensagemIntervalo(0, 255)}},
    {"taxaPermuta4", {Dialogo::permuta, "editTaxa4", Validacao::mensagemIntervalo(0, 255)}},
    {"taxaPermuta5", {Dialogo::permuta, "editTaxa5", Validacao::mensagemIntervalo(0, 255)}},
    {"detecta", {Dialogo::avancadas, "editDetecta", positivo}},
    {"luta", {Dialogo::avancadas, "editLuta", positivo}},
    {"morte_mm", {Dialogo::avancadas, "editMorteMm", positivo}},
    {"morte_Mm", {Dialogo::avancadas, "editMorteMmHet", positivo}},
    {"morte_MM", {Dialogo::avancadas, "editMorteMM", positivo}},
    {"repro_rr", {Dialogo::avancadas, "editReproRr", positivo}},
    {"repro_Rr", {Dialogo::avancadas, "editReproRrHet", positivo}},
    {"repro_RR", {Dialogo::avancadas, "editReproRR", positivo}},
    {"partilha", {Dialogo::avancadas, "editPartilha", positivo}},
};

const QString lembrete = QStringLiteral("Para que estes configurações tomem efeito uma nova "
                                        "configuração precisa ser criada (Ctrl+N)!");

// What the dialog says when `campo` holds `texto` and the user confirms
// (the crossing-over rates speak while typing): the range messages shown,
// without the advanced dialog's reminder. The focus must be on the field.
std::vector<QString> mensagens(std::string_view nome, const Campo& campo, const QString& texto) {
    ObservadorModal observador;
    SimulationParameters p;
    std::unique_ptr<QDialog> dialogo;
    if (campo.dialogo == Dialogo::parametros)
        dialogo = std::make_unique<CParametersDlg>(p);
    else if (campo.dialogo == Dialogo::avancadas)
        dialogo = std::make_unique<CAdvancedSettingsDlg>(p);
    else
        dialogo = std::make_unique<CExchangeRatesDlg>(std::array<uint8_t, 6>{5, 10, 50, 5, 10, 50});
    dialogo->show();
    auto* edit = dialogo->findChild<QLineEdit*>(QLatin1String(campo.edit));
    if (!edit)
        return {QStringLiteral("sem o campo ") + QLatin1String(campo.edit)};
    edit->setText(texto);
    // The other food energy keeps the order check quiet: the upper one
    // follows the lower; the lower one stays at its least.
    if (nome == "energiaMin")
        dialogo->findChild<QLineEdit*>(QStringLiteral("editEnergiaMax"))->setText(texto);
    if (nome == "energiaMax")
        dialogo->findChild<QLineEdit*>(QStringLiteral("editEnergiaMin"))
            ->setText(QString::number(parametroPorNome("energiaMin").minimoDialogo));
    if (campo.dialogo == Dialogo::parametros)
        dialogo->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    else if (campo.dialogo == Dialogo::avancadas)
        dialogo->accept();
    std::vector<QString> textos;
    for (const ObservadorModal::Caixa& c : observador.caixas)
        if (c.texto != lembrete)
            textos.push_back(c.texto);
    if (!textos.empty()) {
        EXPECT_EQ(dialogo->focusWidget(), edit) << nome;
    }
    return textos;
}

TEST(FaixasDosDialogos, CadaFaixaDaTabelaEAQueODialogoImpoe) {
    int verificados = 0;
    for (const DescricaoParametro& d : tabelaDeParametros()) {
        if (!d.temFaixaNoDialogo())
            continue;
        SCOPED_TRACE(std::string(d.nome));
        const auto achado = campos.find(d.nome);
        ASSERT_NE(achado, campos.end()) << "nenhum campo de diálogo para " << d.nome;
        const Campo& campo = achado->second;
        ++verificados;
        const QString faixa = Validacao::mensagemIntervalo(d.minimoDialogo, d.maximoDialogo);
        EXPECT_TRUE(mensagens(d.nome, campo, QString::number(d.minimoDialogo)).empty());
        EXPECT_TRUE(mensagens(d.nome, campo, QString::number(d.maximoDialogo)).empty());
        EXPECT_EQ(mensagens(d.nome, campo, QString::number(d.maximoDialogo + 1)),
                  std::vector<QString>{faixa});
        // Below the upper food energy the order check speaks first; the
        // parameters dialog's own test covers it.
        if (d.nome == "energiaMax")
            continue;
        const QString abaixo =
            d.minimoDialogo == 0 && !campo.negativo.isEmpty() ? campo.negativo : faixa;
        EXPECT_EQ(mensagens(d.nome, campo, QString::number(d.minimoDialogo - 1)),
                  std::vector<QString>{abaixo});
    }
    EXPECT_EQ(verificados, static_cast<int>(campos.size()));
}

} // namespace
