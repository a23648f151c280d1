#include "app/CExchangeRatesDlg.h"
#include "gui/TextosGenoma.h"
#include "gui/Validacao.h"
#include "model/Genoma.h"
#include "sim/TabelaParametros.h"
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <limits>
#include <string>
#include <string_view>

namespace keldo::app {

using namespace keldo::gui;
using namespace keldo::sim;
using namespace keldo::model;

namespace {

const QString tituloAplicacao = QStringLiteral("KELDO");

constexpr int numGenes = Genoma::numAutossomicos;
constexpr int numPontos = Genoma::numPontosPermuta;

// The legend writes the genome's names, but "Inteligencia" without its
// accent; the labels above the bar show the names as they are.
constexpr std::string_view legendaInteligencia = "Inteligencia";
static_assert(Genoma::nomeEscrito(Genoma::Inteligencia, legendaInteligencia),
              "the legend's spelling must follow the genome table");

QString nomeNaLegenda(Genoma::Gene g) {
    if (g == Genoma::Inteligencia)
        return QString::fromUtf8(legendaInteligencia.data(),
                                 static_cast<qsizetype>(legendaInteligencia.size()));
    return TextosGenoma::nomeGene(g);
}

constexpr int taxaCromossomoNovo = 50;

// The record's defaults, as the dialog holds them.
CExchangeRatesDlg::Taxas taxasPadrao() {
    const SimulationParameters padrao;
    CExchangeRatesDlg::Taxas taxas{};
    for (size_t i = 0; i < taxas.size(); ++i)
        taxas[i] = static_cast<uint8_t>(padrao.taxaPermuta[i]);
    return taxas;
}

// The row of boundary i ("taxaPermuta0".."taxaPermuta5") in the core's table.
const DescricaoParametro& parametroDaTaxa(size_t i) {
    return parametroPorNome("taxaPermuta" + std::to_string(i));
}

} // namespace

CExchangeRatesDlg::CExchangeRatesDlg(const Taxas& taxas, QWidget* parent)
    : QDialog(parent), taxasAtuais(taxas) {
    setWindowTitle(QStringLiteral("Taxas de Permuta"));
    construirInterface();
    escreverControles();
    reconstruirLegenda();
}

QString CExchangeRatesDlg::montarLegenda(const Taxas& taxas) {
    const QString cabecalho = QStringLiteral("Genes do Cromossomo");
    int cromossomo = 1;
    QString texto = QStringLiteral("%1 %2:\n").arg(cabecalho).arg(cromossomo);
    for (int gene = 0; gene < numGenes; ++gene) {
        texto +=
            QLatin1Char('\t') + nomeNaLegenda(static_cast<Genoma::Gene>(gene)) + QLatin1Char('\n');
        if (gene < numPontos && taxas[static_cast<size_t>(gene)] == taxaCromossomoNovo)
            texto += QStringLiteral("%1 %2:\n").arg(cabecalho).arg(++cromossomo);
    }
    return texto;
}

// A row of gene names over a bar, a narrow marker at each boundary between
// two genes, and under each marker the rate of that boundary.
void CExchangeRatesDlg::construirInterface() {
    auto* grade = new QGridLayout;
    grade->setHorizontalSpacing(2);
    auto* barra = new QFrame(this);
    barra->setFrameShape(QFrame::Box);
    barra->setFrameShadow(QFrame::Sunken);
    barra->setFixedHeight(fontMetrics().height() / 2 + 4);
    grade->addWidget(barra, 1, 0, 1, 2 * numGenes - 1);
    for (int gene = 0; gene < numGenes; ++gene) {
        auto* rotulo = new QLabel(TextosGenoma::nomeGene(static_cast<Genoma::Gene>(gene)), this);
        rotulo->setAlignment(Qt::AlignCenter);
        grade->addWidget(rotulo, 0, 2 * gene);
        grade->setColumnStretch(2 * gene, 1);
    }
    const auto* validador =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    const int larguraEdit = fontMetrics().horizontalAdvance(QStringLiteral("000")) + 10;
    for (int i = 0; i < numPontos; ++i) {
        auto* marcador = new QPushButton(this);
        marcador->setEnabled(false);
        marcador->setFixedWidth(8);
        marcador->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        marcador->setObjectName(QStringLiteral("marcador%1").arg(i));
        grade->addWidget(marcador, 0, 2 * i + 1, 2, 1, Qt::AlignHCenter);

        auto* campo = new QHBoxLayout;
        campo->setSpacing(2);
        edits[i] = new QLineEdit(this);
        edits[i]->setObjectName(QStringLiteral("editTaxa%1").arg(i));
        edits[i]->setValidator(validador);
        edits[i]->setAlignment(Qt::AlignCenter);
        edits[i]->setFixedWidth(larguraEdit);
        campo->addWidget(edits[i]);
        campo->addWidget(new QLabel(QStringLiteral("%"), this));
        grade->addLayout(campo, 2, 2 * i + 1, Qt::AlignHCenter);
        connect(edits[i], &QLineEdit::textChanged, this, [this] {
            if (!escrevendo)
                reconstruirLegenda();
        });
    }

    rotuloLegenda = new QLabel(QStringLiteral("-"), this);
    rotuloLegenda->setObjectName(QStringLiteral("legenda"));
    rotuloLegenda->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    rotuloLegenda->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    rotuloLegenda->setMargin(4);
    // Room for the longest legend, seven chromosomes of one gene each, so
    // that the dialog keeps its size while the user types.
    Taxas todasNovas{};
    todasNovas.fill(taxaCromossomoNovo);
    rotuloLegenda->setText(montarLegenda(todasNovas));
    rotuloLegenda->setMinimumSize(
        rotuloLegenda->sizeHint().expandedTo({fontMetrics().averageCharWidth() * 203 / 4, 0}));

    auto* padrao = new QPushButton(QStringLiteral("Valores Padrão"), this);
    padrao->setObjectName(QStringLiteral("botaoPadrao"));
    padrao->setAutoDefault(false);
    connect(padrao, &QPushButton::clicked, this, &CExchangeRatesDlg::valoresPadrao);
    auto* botoes =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    connect(botoes, &QDialogButtonBox::accepted, this, &CExchangeRatesDlg::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &CExchangeRatesDlg::reject);

    auto* colunaBotoes = new QVBoxLayout;
    colunaBotoes->addWidget(botoes);
    colunaBotoes->addStretch(1);
    colunaBotoes->addWidget(padrao);
    auto* baixo = new QHBoxLayout;
    baixo->addWidget(rotuloLegenda, 1);
    baixo->addSpacing(20);
    baixo->addLayout(colunaBotoes);

    auto* principal = new QVBoxLayout(this);
    principal->addLayout(grade);
    principal->addSpacing(8);
    principal->addLayout(baixo);
}

// Controls to members with the framework's checks, stopping at the first
// failure: a number outside a byte is refused before it is stored, one above
// the dialog's range is stored and then refused by the range check.
bool CExchangeRatesDlg::lerControles() {
    constexpr int maiorByte = std::numeric_limits<uint8_t>::max();
    for (size_t i = 0; i < edits.size(); ++i) {
        const auto valor = Validacao::analisarInteiro(edits[i]->text());
        if (!valor || *valor < 0 || *valor > maiorByte) {
            Validacao::falhar(edits[i], Validacao::mensagemIntervalo(0, maiorByte), this,
                              tituloAplicacao);
            return false;
        }
        taxasAtuais[i] = static_cast<uint8_t>(*valor);
        const DescricaoParametro& faixa = parametroDaTaxa(i);
        if (*valor < faixa.minimoDialogo || *valor > faixa.maximoDialogo) {
            Validacao::falhar(
                edits[i], Validacao::mensagemIntervalo(faixa.minimoDialogo, faixa.maximoDialogo),
                this, tituloAplicacao);
            return false;
        }
    }
    return true;
}

void CExchangeRatesDlg::escreverControles() {
    escrevendo = true;
    for (size_t i = 0; i < edits.size(); ++i)
        edits[i]->setText(QString::number(taxasAtuais[i]));
    escrevendo = false;
}

// Runs on every change of a rate: a refused value shows its message at once,
// and the legend still follows what the members hold.
void CExchangeRatesDlg::reconstruirLegenda() {
    lerControles();
    textoLegenda = montarLegenda(taxasAtuais);
    rotuloLegenda->setText(textoLegenda);
}

void CExchangeRatesDlg::valoresPadrao() {
    taxasAtuais = taxasPadrao();
    escreverControles();
    reconstruirLegenda();
}

void CExchangeRatesDlg::accept() {
    if (lerControles())
        QDialog::accept();
}

} // namespace keldo::app
