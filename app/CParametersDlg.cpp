#include "app/CParametersDlg.h"
#include "app/CAdvancedSettingsDlg.h"
#include "app/CExchangeRatesDlg.h"
#include "app/CPopulationDlg.h"
#include "gui/Validacao.h"
#include "io/Cp1252.h"
#include "model/Ambiente.h"
#include "sim/SimulationParameters.h"
#include "sim/TabelaParametros.h"
#include "ui_CParametersDlg.h"
#include <QMessageBox>
#include <QPushButton>
#include <optional>

namespace keldo::app {

using namespace keldo::gui;
using namespace keldo::sim;
using namespace keldo::io;

namespace {

const QString tituloAplicacao = QStringLiteral("KELDO");

QString paraTela(const std::string& textoCp1252) {
    return QString::fromStdString(cp1252ParaUtf8(textoCp1252));
}

// A drop-down list shows the first item that begins with the stored text.
void selecionarPorPrefixo(QComboBox* combo, const std::string& textoCp1252) {
    const QString texto = paraTela(textoCp1252);
    int escolhido = -1;
    for (int i = 0; i < combo->count() && !texto.isEmpty(); ++i) {
        if (combo->itemText(i).startsWith(texto, Qt::CaseInsensitive)) {
            escolhido = i;
            break;
        }
    }
    combo->setCurrentIndex(escolhido);
}

// With no item selected the stored text is left as it was.
std::string textoSelecionado(const QComboBox* combo, const std::string& atual) {
    if (combo->currentIndex() < 0)
        return atual;
    return utf8ParaCp1252(combo->currentText().toStdString());
}

// Two radio buttons bound to one index; with neither checked the index stays.
void marcarRadio(QRadioButton* primeiro, QRadioButton* segundo, int indice) {
    primeiro->setChecked(indice == 0);
    segundo->setChecked(indice == 1);
}

int indiceRadio(const QRadioButton* primeiro, const QRadioButton* segundo, int atual) {
    if (primeiro->isChecked())
        return 0;
    return segundo->isChecked() ? 1 : atual;
}

int32_t marcado(const QCheckBox* caixa) {
    return caixa->isChecked() ? 1 : 0;
}

// Whole copies of templates. Each copy starts as an empty individual, which
// takes its draws from the document's generator, and is then overwritten.
std::vector<SpecX> copiarModelos(const std::vector<SpecX>& origem, Ambiente* mundo) {
    std::vector<SpecX> copias;
    copias.reserve(origem.size());
    for (const SpecX& modelo : origem) {
        SpecX copia = mundo ? SpecX(mundo->gerador()) : SpecX();
        copia = modelo;
        if (copia.doc)
            copia.anexar(copia.doc);
        copias.push_back(copia);
    }
    return copias;
}

} // namespace

CParametersDlg::CParametersDlg(SimulationParameters& parametrosDoc, Ambiente* mundoDoc,
                               QWidget* parent)
    : QDialog(parent), parametros(parametrosDoc), mundo(mundoDoc),
      ui(std::make_unique<Ui::CParametersDlg>()) {
    ui->setupUi(this);
    ajustarControles();
    connect(ui->botoes, &QDialogButtonBox::accepted, this, &CParametersDlg::accept);
    connect(ui->botoes, &QDialogButtonBox::rejected, this, &CParametersDlg::reject);
    connect(ui->botaoPopulacao, &QPushButton::clicked, this, &CParametersDlg::abrirPopulacao);
    connect(ui->botaoPermuta, &QPushButton::clicked, this, &CParametersDlg::abrirPermuta);
    connect(ui->botaoAvancadas, &QPushButton::clicked, this, &CParametersDlg::abrirAvancadas);
    carregar();
}

CParametersDlg::~CParametersDlg() = default;

// Edits sized for their numbers, small "..." buttons, OK as the default button.
void CParametersDlg::ajustarControles() {
    const QFontMetrics medidas(font());
    const int larguraEdit = medidas.horizontalAdvance(QStringLiteral("000000")) + 12;
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->setFixedWidth(larguraEdit);
    const int larguraReticencias = medidas.horizontalAdvance(QStringLiteral("...")) + 16;
    for (QPushButton* botao : {ui->botaoPopulacao, ui->botaoPermuta, ui->botaoAvancadas}) {
        botao->setFixedWidth(larguraReticencias);
        botao->setAutoDefault(false);
    }
    QPushButton* ok = ui->botoes->button(QDialogButtonBox::Ok);
    ok->setDefault(true);
    ui->botoes->button(QDialogButtonBox::Cancel)->setAutoDefault(false);
}

void CParametersDlg::carregar() {
    const SimulationParameters& p = parametros;
    marcarRadio(ui->radioAleatoria, ui->radioDefinida, p.tipoPopulacao);
    ui->editNumIndividuos->setText(QString::number(p.numIndividuos));
    ui->checkComDefinida->setChecked(p.comDefinida != 0);
    ui->editQtdAlimento->setText(QString::number(p.qtdAlimento));
    ui->editTaxaReposicao->setText(QString::number(p.taxaReposicao));
    ui->editEnergiaMin->setText(QString::number(p.energiaMin));
    ui->editEnergiaMax->setText(QString::number(p.energiaMax));
    marcarRadio(ui->radioSobrepostas, ui->radioDiscretas, p.tipoGeracoes);
    ui->editNumIndDiscretas->setText(QString::number(p.numIndDiscretas));
    selecionarPorPrefixo(ui->comboNivel, p.nivelObstaculos);
    ui->checkSalvar->setChecked(p.salvarAtivo != 0);
    ui->editSalvarCiclos->setText(QString::number(p.salvarCiclos));
    ui->checkMutacao->setChecked(p.mutacaoAtiva != 0);
    ui->editTaxaMutacao->setText(QString::number(p.taxaMutacao));
    ui->editIntervalo->setText(QString::number(p.intervaloAnimacao));
    ui->checkMostrarEnergia->setChecked(p.mostrarEnergia != 0);
    ui->editTempoReal->setText(QString::number(p.tempoRealCiclo));
    ui->checkTrace->setChecked(p.gerarTrace != 0);
    ui->editParticao->setText(QString::number(p.particaoAmbiente));
    selecionarPorPrefixo(ui->comboCriterio, p.criterioParada);
}

// The two food energies compared as unsigned numbers, so a negative lower
// value is refused here as a very large one. A non-number reads as 0.
bool CParametersDlg::ordemAlimentoValida() {
    auto lerComoSinal = [](const QLineEdit* campo) -> int32_t {
        const auto valor = Validacao::analisarInteiro(campo->text());
        if (!valor || *valor < INT32_MIN || *valor > INT32_MAX)
            return 0;
        return static_cast<int32_t>(*valor);
    };
    const auto superior = static_cast<uint32_t>(lerComoSinal(ui->editEnergiaMax));
    const auto inferior = static_cast<uint32_t>(lerComoSinal(ui->editEnergiaMin));
    if (superior >= inferior)
        return true;
    QMessageBox::warning(this, tituloAplicacao,
                         QStringLiteral("O valor superior do alimento precisa ser maior que o "
                                        "valor inferior!"));
    return false;
}

// Every number is checked, in the order of the dialog's data exchange, before
// anything is stored: a refused confirmation leaves the record untouched.
bool CParametersDlg::validarEArmazenar() {
    struct CampoInteiro {
        QLineEdit* campo;
        const DescricaoParametro& parametro;
        int32_t valor = 0;
    };
    SimulationParameters& p = parametros;
    CampoInteiro inteiros[] = {
        {ui->editNumIndividuos, parametroPorNome("numIndividuos")},
        {ui->editTaxaReposicao, parametroPorNome("taxaReposicao")},
        {ui->editEnergiaMin, parametroPorNome("energiaMin")},
        {ui->editIntervalo, parametroPorNome("intervaloAnimacao")},
        {ui->editQtdAlimento, parametroPorNome("qtdAlimento")},
        {ui->editTaxaMutacao, parametroPorNome("taxaMutacao")},
        {ui->editEnergiaMax, parametroPorNome("energiaMax")},
        {ui->editSalvarCiclos, parametroPorNome("salvarCiclos")},
    };
    for (CampoInteiro& c : inteiros) {
        const auto valor = Validacao::lerInteiro(c.campo, c.parametro, this, tituloAplicacao);
        if (!valor)
            return false;
        c.valor = *valor;
    }
    const auto numIndDiscretas = Validacao::lerSemSinal(
        ui->editNumIndDiscretas, parametroPorNome("numIndDiscretas"), this, tituloAplicacao);
    if (!numIndDiscretas)
        return false;
    const auto tempoReal = Validacao::lerSemSinal(
        ui->editTempoReal, parametroPorNome("tempoRealCiclo"), this, tituloAplicacao);
    if (!tempoReal)
        return false;

    for (const CampoInteiro& c : inteiros)
        p.*c.parametro.inteiro = c.valor;
    // The partition field is hidden and never edited: its value passes through
    // as stored, since a user could not correct it if it were refused.
    p.nivelObstaculos = textoSelecionado(ui->comboNivel, p.nivelObstaculos);
    p.criterioParada = textoSelecionado(ui->comboCriterio, p.criterioParada);
    p.mostrarEnergia = marcado(ui->checkMostrarEnergia);
    p.salvarAtivo = marcado(ui->checkSalvar);
    p.mutacaoAtiva = marcado(ui->checkMutacao);
    p.comDefinida = marcado(ui->checkComDefinida);
    p.numIndDiscretas = *numIndDiscretas;
    p.tipoPopulacao = indiceRadio(ui->radioAleatoria, ui->radioDefinida, p.tipoPopulacao);
    p.tipoGeracoes = indiceRadio(ui->radioSobrepostas, ui->radioDiscretas, p.tipoGeracoes);
    p.tempoRealCiclo = *tempoReal;
    p.gerarTrace = marcado(ui->checkTrace);
    return true;
}

void CParametersDlg::accept() {
    if (!ordemAlimentoValida())
        return;
    if (!validarEArmazenar())
        return;
    QDialog::accept();
}

void CParametersDlg::abrirPopulacao() {
    CPopulationDlg dialogo(copiarModelos(parametros.listaDefinida, mundo), mundo,
                           ui->radioSobrepostas->isChecked(), this);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    parametros.listaDefinida = copiarModelos(dialogo.modelos(), mundo);
}

void CParametersDlg::abrirPermuta() {
    std::array<uint8_t, 6> taxas{};
    for (size_t i = 0; i < taxas.size(); ++i)
        taxas[i] = static_cast<uint8_t>(parametros.taxaPermuta[i]);
    CExchangeRatesDlg dialogo(taxas, this);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    for (size_t i = 0; i < taxas.size(); ++i)
        parametros.taxaPermuta[i] = dialogo.taxas()[i];
}

void CParametersDlg::abrirAvancadas() {
    CAdvancedSettingsDlg dialogo(parametros, this);
    if (dialogo.exec() == QDialog::Accepted)
        dialogo.armazenarEm(parametros);
}

} // namespace keldo::app
