#include "app/CAdvancedSettingsDlg.h"
#include "gui/TextosGenoma.h"
#include "gui/Validacao.h"
#include "sim/SimulationParameters.h"
#include "sim/TabelaParametros.h"
#include "ui_CAdvancedSettingsDlg.h"
#include <QMessageBox>
#include <QPushButton>

namespace keldo::app {

using namespace keldo::gui;
using namespace keldo::sim;
using namespace keldo::model;

namespace {
const QString tituloAplicacao = QStringLiteral("KELDO");

// The captions name the genes and their genotypes as the genome table writes
// them (the form's own texts only stand in for them in the designer).
void rotularGenes(Ui::CAdvancedSettingsDlg& ui) {
    using TextosGenoma::genotipo;
    using TextosGenoma::nomeGene;
    ui.rotuloDetecta->setText(nomeGene(Genoma::Detecta));
    ui.rotuloLuta->setText(nomeGene(Genoma::Luta));
    ui.rotuloPartilha->setText(nomeGene(Genoma::Partilha));
    const struct {
        Genoma::Gene gene;
        QLabel *nome, *recessivo, *heterozigoto, *dominante;
    } limiares[] = {
        {Genoma::Morte, ui.rotuloMorte, ui.rotuloMorteMm, ui.rotuloMorteMmHet, ui.rotuloMorteMM},
        {Genoma::Reproducao, ui.rotuloReproducao, ui.rotuloReproRr, ui.rotuloReproRrHet,
         ui.rotuloReproRR}};
    for (const auto& l : limiares) {
        l.nome->setText(nomeGene(l.gene));
        l.recessivo->setText(genotipo(l.gene, 0, 0));
        l.heterozigoto->setText(genotipo(l.gene, 1, 0) + QLatin1Char('\n') +
                                genotipo(l.gene, 0, 1));
        l.dominante->setText(genotipo(l.gene, 1, 1));
    }
}
} // namespace

CAdvancedSettingsDlg::CAdvancedSettingsDlg(const SimulationParameters& p, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CAdvancedSettingsDlg>()) {
    ui->setupUi(this);
    rotularGenes(*ui);
    const std::pair<QLineEdit*, const char*> ligacoes[] = {
        {ui->editDetecta, "detecta"},     {ui->editLuta, "luta"},
        {ui->editMorteMm, "morte_mm"},    {ui->editMorteMmHet, "morte_Mm"},
        {ui->editMorteMM, "morte_MM"},    {ui->editReproRr, "repro_rr"},
        {ui->editReproRrHet, "repro_Rr"}, {ui->editReproRR, "repro_RR"},
        {ui->editPartilha, "partilha"}};
    for (size_t i = 0; i < campos.size(); ++i) {
        campos[i] = {ligacoes[i].first, &parametroPorNome(ligacoes[i].second)};
        valores[i] = p.*campos[i].parametro->semSinal;
    }

    const int larguraEdit = fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12;
    for (const Campo& c : campos)
        c.edit->setFixedWidth(larguraEdit);
    for (QLabel* rotulo : {ui->rotuloMorteMm, ui->rotuloMorteMmHet, ui->rotuloMorteMM,
                           ui->rotuloReproRr, ui->rotuloReproRrHet, ui->rotuloReproRR})
        rotulo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui->gradeValores->setColumnStretch(7, 1);
    ui->botoes->button(QDialogButtonBox::Ok)->setDefault(true);

    connect(ui->botaoPadrao, &QPushButton::clicked, this, &CAdvancedSettingsDlg::valoresPadrao);
    connect(ui->botoes, &QDialogButtonBox::accepted, this, &CAdvancedSettingsDlg::accept);
    connect(ui->botoes, &QDialogButtonBox::rejected, this, &CAdvancedSettingsDlg::reject);
    escreverControles();
}

CAdvancedSettingsDlg::~CAdvancedSettingsDlg() = default;

void CAdvancedSettingsDlg::armazenarEm(SimulationParameters& p) const {
    for (size_t i = 0; i < campos.size(); ++i)
        p.*campos[i].parametro->semSinal = valores[i];
}

void CAdvancedSettingsDlg::escreverControles() {
    for (size_t i = 0; i < campos.size(); ++i)
        campos[i].edit->setText(QString::number(valores[i]));
}

void CAdvancedSettingsDlg::valoresPadrao() {
    const SimulationParameters padrao;
    for (size_t i = 0; i < campos.size(); ++i)
        valores[i] = padrao.*campos[i].parametro->semSinal;
    escreverControles();
}

// The reminder comes on every press, before any value is checked.
void CAdvancedSettingsDlg::accept() {
    QMessageBox::warning(this, QStringLiteral("Atenção"),
                         QStringLiteral("Para que estes configurações tomem efeito uma nova "
                                        "configuração precisa ser criada (Ctrl+N)!"));
    std::array<uint32_t, 9> lidos{};
    for (size_t i = 0; i < campos.size(); ++i) {
        const Campo& c = campos[i];
        const auto valor = Validacao::lerSemSinal(c.edit, *c.parametro, this, tituloAplicacao);
        if (!valor)
            return;
        lidos[i] = *valor;
    }
    valores = lidos;
    QDialog::accept();
}

} // namespace keldo::app
