#include "app/CGraficosDlg.h"
#include "sim/CKeldoDoc.h"
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QVBoxLayout>
#include <qcustomplot.h>

namespace {

// Capital letters in blue, small letters in vermilion; the four alleles of
// Visão and Inteligência in hues that stay apart even in thin lines.
constexpr QRgb azul = 0xFF0046C8;
constexpr QRgb vermelhao = 0xFFDC3C00;
constexpr QRgb laranja = 0xFFEB8C00;
constexpr QRgb verdeAzulado = 0xFF009632;
constexpr QRgb purpura = 0xFFA028AA;
// The arena paints MM individuals green and mm individuals blue.
constexpr QRgb verdeMM = 0xFF28AA32;
constexpr QRgb azulmm = 0xFF2350E6;

// The arena's egg is olive and its food a dark green leaf.
const QColor corAdultos(40, 40, 40);
const QColor corOvos(128, 128, 0);
const QColor corAlimentos(20, 120, 20);

const QString tituloJanela = QStringLiteral("Gráficos");
// Thin lines: a raster replot of 10,000 points costs about 1.5 ms at one
// pixel and some 25 ms at one and a half.
constexpr double larguraLinha = 1.0;
} // namespace

namespace {
// The selector's entry of a gene: each allele in the genome's order, a
// one-bit gene's small letter drawn as the complement of its capital's column.
CGraficosDlg::Gene geneDoGrafico(Genoma::Gene g) {
    static constexpr QRgb coresQuatro[4] = {azul, laranja, verdeAzulado, purpura};
    const bool doisBits = Genoma::numAlelos(g) == 4;
    CGraficosDlg::Gene gene{Genoma::nome(g), Genoma::numAlelos(g), {}};
    for (int k = 0; k < gene.numAlelos; ++k) {
        QRgb cor = doisBits ? coresQuatro[k] : (k == 0 ? azul : vermelhao);
        if (g == Genoma::Morte)
            cor = k == 0 ? verdeMM : azulmm;
        gene.alelos[k] = {Genoma::letraNaPosicao(g, k),
                          Genoma::colunaResumo(g) + (doisBits ? k : 0), !doisBits && k == 1, cor};
    }
    return gene;
}
} // namespace

const CGraficosDlg::Gene CGraficosDlg::genes[] = {
    geneDoGrafico(Genoma::Visao),    geneDoGrafico(Genoma::Reproducao),
    geneDoGrafico(Genoma::Partilha), geneDoGrafico(Genoma::Luta),
    geneDoGrafico(Genoma::Morte),    geneDoGrafico(Genoma::Inteligencia),
    geneDoGrafico(Genoma::Neutro),   geneDoGrafico(Genoma::Detecta),
    geneDoGrafico(Genoma::Cuida),
};
const int CGraficosDlg::numGenes = static_cast<int>(std::size(CGraficosDlg::genes));
static_assert(std::size(CGraficosDlg::genes) == Genoma::numGenes);

CGraficosDlg::CGraficosDlg(const CKeldoDoc& d, QWidget* pai) : QDialog(pai), doc(d) {
    setWindowTitle(tituloJanela);
    setModal(false);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    auto* linhaGene = new QHBoxLayout;
    auto* rotulo = new QLabel(QStringLiteral("&Gene:"), this);
    seletor = new QComboBox(this);
    seletor->setObjectName(QStringLiteral("seletorGene"));
    for (const Gene& g : genes)
        seletor->addItem(QString::fromUtf8(g.nome));
    rotulo->setBuddy(seletor);
    linhaGene->addWidget(rotulo);
    linhaGene->addWidget(seletor);
    linhaGene->addStretch(1);
    layout->addLayout(linhaGene);

    plot = new QCustomPlot(this);
    plot->setObjectName(QStringLiteral("grafico"));
    plot->setMinimumSize(560, 480);
    plot->setNoAntialiasingOnDrag(true);
    layout->addWidget(plot, 1);
    montarGrafico();
    layout->addWidget(montarBotoes());

    connect(seletor, &QComboBox::currentIndexChanged, this, &CGraficosDlg::selecionarGene);
    adiado.setSingleShot(true);
    connect(&adiado, &QTimer::timeout, this, &CGraficosDlg::desenhar);
    resize(680, 640);
}

// Two panels stacked, each with its title above and its legend below, their
// left edges aligned so that the time axes line up.
void CGraficosDlg::montarGrafico() {
    plot->setAutoAddPlottableToLegend(false);
    plot->plotLayout()->clear();
    QCPTextElement* tituloPopulacao = nullptr;
    painelPopulacao = novoPainel(0, QStringLiteral("População"), tituloPopulacao, legendaPopulacao);
    painelFrequencias = novoPainel(3, QString(), tituloFrequencias, legendaFrequencias);
    auto* margens = new QCPMarginGroup(plot);
    painelPopulacao->setMarginGroup(QCP::msLeft | QCP::msRight, margens);
    painelFrequencias->setMarginGroup(QCP::msLeft | QCP::msRight, margens);
    painelPopulacao->axis(QCPAxis::atLeft)->setLabel(QStringLiteral("Quantidade"));
    auto inteiros = QSharedPointer<QCPAxisTickerFixed>::create();
    inteiros->setTickStep(1.0);
    inteiros->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
    painelPopulacao->axis(QCPAxis::atLeft)->setTicker(inteiros);
    painelFrequencias->axis(QCPAxis::atLeft)->setLabel(QStringLiteral("Frequência"));
    painelFrequencias->axis(QCPAxis::atLeft)->setRange(0.0, 1.0);
    for (QCPAxisRect* painel : {painelPopulacao, painelFrequencias}) {
        QCPAxis* x = painel->axis(QCPAxis::atBottom);
        x->setLabel(QStringLiteral("Tempo (ciclos)"));
        x->setTicker(inteiros);
        x->setNumberFormat(QStringLiteral("f"));
        x->setNumberPrecision(0);
    }
    painelPopulacao->axis(QCPAxis::atLeft)->setNumberFormat(QStringLiteral("f"));
    painelPopulacao->axis(QCPAxis::atLeft)->setNumberPrecision(0);

    const struct {
        const char* nome;
        QColor cor;
    } curvas[3] = {{"Adultos", corAdultos}, {"Ovos", corOvos}, {"Alimentos", corAlimentos}};
    for (int i = 0; i < 3; ++i) {
        QCPGraph* g = plot->addGraph(painelPopulacao->axis(QCPAxis::atBottom),
                                     painelPopulacao->axis(QCPAxis::atLeft));
        g->setName(QString::fromUtf8(curvas[i].nome));
        g->setPen(QPen(curvas[i].cor, larguraLinha, i == 2 ? Qt::DashLine : Qt::SolidLine));
        g->addToLegend(legendaPopulacao);
        populacao[i] = g;
    }
    montarCurvasFrequencia();
}

QCPAxisRect* CGraficosDlg::novoPainel(int linha, const QString& titulo, QCPTextElement*& rotulo,
                                      QCPLegend*& legenda) {
    QFont fonte = font();
    fonte.setPointSizeF(fonte.pointSizeF() * 1.15);
    fonte.setBold(true);
    QCPLayoutGrid* grade = plot->plotLayout();
    rotulo = new QCPTextElement(plot, titulo, fonte);
    grade->addElement(linha, 0, rotulo);
    auto* painel = new QCPAxisRect(plot);
    grade->addElement(linha + 1, 0, painel);
    legenda = new QCPLegend;
    grade->addElement(linha + 2, 0, legenda);
    legenda->setLayer(QStringLiteral("legend"));
    legenda->setFillOrder(QCPLegend::foColumnsFirst);
    legenda->setBorderPen(Qt::NoPen);
    legenda->setFont(font());
    legenda->setMargins(QMargins(4, 0, 4, 4));
    // Titles and legends take what they need; the panels share the rest.
    grade->setRowStretchFactor(linha, 0.001);
    grade->setRowStretchFactor(linha + 1, 1.0);
    grade->setRowStretchFactor(linha + 2, 0.001);
    return painel;
}

QWidget* CGraficosDlg::montarBotoes() {
    auto* barra = new QWidget(this);
    auto* linha = new QHBoxLayout(barra);
    linha->setContentsMargins(0, 0, 0, 0);
    auto botao = [&](const QString& texto, const char* nome) {
        auto* b = new QPushButton(texto, barra);
        b->setObjectName(QLatin1String(nome));
        b->setAutoDefault(false);
        linha->addWidget(b);
        return b;
    };
    connect(botao(QStringLiteral("Exportar &PNG..."), "botaoPng"), &QPushButton::clicked, this,
            [this] {
                escolherEExportar(QStringLiteral("Exportar gráficos como PNG"),
                                  QStringLiteral("Imagem PNG (*.png)"), QStringLiteral(".png"),
                                  &CGraficosDlg::exportarPng);
            });
    connect(botao(QStringLiteral("Exportar P&DF..."), "botaoPdf"), &QPushButton::clicked, this,
            [this] {
                escolherEExportar(QStringLiteral("Exportar gráficos como PDF"),
                                  QStringLiteral("Documento PDF (*.pdf)"), QStringLiteral(".pdf"),
                                  &CGraficosDlg::exportarPdf);
            });
    connect(botao(QStringLiteral("Exportar &CSV..."), "botaoCsv"), &QPushButton::clicked, this,
            [this] {
                escolherEExportar(QStringLiteral("Exportar dados como CSV"),
                                  QStringLiteral("Tabela CSV (*.csv)"), QStringLiteral(".csv"),
                                  &CGraficosDlg::exportarCsv);
            });
    linha->addStretch(1);
    connect(botao(QStringLiteral("&Fechar"), "botaoFechar"), &QPushButton::clicked, this,
            &QDialog::close);
    return barra;
}

void CGraficosDlg::montarCurvasFrequencia() {
    for (int k = 0; k < numFrequencias; ++k) {
        frequencias[k]->removeFromLegend(legendaFrequencias);
        plot->removeGraph(frequencias[k]);
        frequencias[k] = nullptr;
    }
    const Gene& g = genes[gene];
    numFrequencias = g.numAlelos;
    for (int k = 0; k < numFrequencias; ++k) {
        QCPGraph* curva = plot->addGraph(painelFrequencias->axis(QCPAxis::atBottom),
                                         painelFrequencias->axis(QCPAxis::atLeft));
        curva->setName(QString::fromUtf8(g.alelos[k].letra));
        curva->setPen(QPen(QColor::fromRgb(g.alelos[k].cor), larguraLinha));
        curva->addToLegend(legendaFrequencias);
        frequencias[k] = curva;
    }
    tituloFrequencias->setText(
        QStringLiteral("Frequências alélicas: gene %1").arg(QString::fromUtf8(g.nome)));
}

void CGraficosDlg::selecionarGene(int indice) {
    if (indice < 0 || indice >= numGenes)
        return;
    gene = indice;
    if (seletor->currentIndex() != indice)
        seletor->setCurrentIndex(indice);
    montarCurvasFrequencia();
    versaoLida = ~uint64_t{0}; // every point again, for the new curves
    desenhar();
}

void CGraficosDlg::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    if (!posicionado && parentWidget()) {
        // Beside the main window, on the same screen.
        posicionado = true;
        const QRect janela = parentWidget()->frameGeometry();
        QPoint canto(janela.right() + 8, janela.top());
        if (const QScreen* tela = parentWidget()->screen()) {
            const QRect livre = tela->availableGeometry();
            canto.setX(std::max(livre.left(), std::min(canto.x(), livre.right() - width())));
            canto.setY(std::max(livre.top(), std::min(canto.y(), livre.bottom() - height())));
        }
        move(canto);
    }
    desenhar();
}

// The spacing is at least 50 ms and at least ten times what the last replot
// took, so the charts never take more than a tenth of a fast run.
void CGraficosDlg::atualizar() {
    if (!isVisible() || isMinimized())
        return;
    const qint64 espaco = std::max<qint64>(intervaloMinimoMs, 10 * custoUltimoMs);
    const qint64 decorrido = desdeDesenho.isValid() ? desdeDesenho.elapsed() : espaco;
    if (decorrido >= espaco)
        desenhar();
    else if (!adiado.isActive())
        adiado.start(static_cast<int>(espaco - decorrido));
}

void CGraficosDlg::desenhar() {
    adiado.stop();
    desdeDesenho.start();
    const EstatisticasPopulacao& e = doc.estatisticas;
    if (e.versao() != versaoLida) {
        // A new world, a load, a halving of the history or another gene.
        for (int i = 0; i < plot->graphCount(); ++i)
            plot->graph(i)->data()->clear();
        versaoLida = e.versao();
        pontosLidos = 0;
        comCauda = false;
        maiorPopulacao = 1.0;
    }
    removerCauda();
    const auto& h = e.historico();
    for (; pontosLidos < h.size(); ++pontosLidos)
        acrescentar(h[pontosLidos]);
    // The latest cycle shows even when the history keeps only every n-th.
    if (!h.empty() && e.ultima().tempo != h.back().tempo) {
        acrescentar(e.ultima());
        comCauda = true;
        tempoCauda = e.ultima().tempo;
    }
    ajustarEixos();
    plot->replot();
    custoUltimoMs = desdeDesenho.elapsed();
}

void CGraficosDlg::acrescentar(const AmostraPopulacao& a) {
    const double t = a.tempo;
    const double valores[3] = {static_cast<double>(a.adultos), static_cast<double>(a.ovos),
                               static_cast<double>(a.alimentos)};
    for (int i = 0; i < 3; ++i) {
        populacao[i]->addData(t, valores[i]);
        maiorPopulacao = std::max(maiorPopulacao, valores[i]);
    }
    const Gene& g = genes[gene];
    for (int k = 0; k < numFrequencias; ++k) {
        const Gene::Alelo& alelo = g.alelos[k];
        double f = qQNaN(); // a gap where nobody carries the locus
        if (a.definida(alelo.coluna)) {
            f = a.frequencia(alelo.coluna);
            if (alelo.complemento)
                f = 1.0 - f;
        }
        frequencias[k]->addData(t, f);
    }
}

void CGraficosDlg::removerCauda() {
    if (!comCauda)
        return;
    for (int i = 0; i < plot->graphCount(); ++i)
        plot->graph(i)->data()->remove(tempoCauda);
    comCauda = false;
}

void CGraficosDlg::ajustarEixos() {
    const auto& h = doc.estatisticas.historico();
    const double inicio = h.empty() ? 0.0 : h.front().tempo;
    const double fim =
        std::max(inicio + 10.0, static_cast<double>(doc.estatisticas.ultima().tempo));
    for (QCPAxisRect* painel : {painelPopulacao, painelFrequencias})
        painel->axis(QCPAxis::atBottom)->setRange(inicio, fim);
    painelPopulacao->axis(QCPAxis::atLeft)->setRange(0.0, std::ceil(maiorPopulacao * 1.08));
    painelFrequencias->axis(QCPAxis::atLeft)->setRange(-0.02, 1.02);
}

// ---- Export ------------------------------------------------------------

bool CGraficosDlg::exportarPng(const QString& caminho) {
    desenhar();
    return plot->savePng(caminho, 0, 0, 2.0);
}

bool CGraficosDlg::exportarPdf(const QString& caminho) {
    desenhar();
    return plot->savePdf(caminho, 0, 0, QCP::epNoCosmetic, QStringLiteral("keldo"), tituloJanela);
}

// The same figures, columns and format as keldo-run --summary.
bool CGraficosDlg::exportarCsv(const QString& caminho) {
    const std::string texto = doc.estatisticas.textoCsv();
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        return false;
    arquivo.write(texto.data(), static_cast<qint64>(texto.size()));
    return arquivo.commit();
}

QString CGraficosDlg::nomeProposto(const QString& sufixo) const {
    const QString base =
        sufixo == QStringLiteral(".csv") ? QStringLiteral("_resumo") : QStringLiteral("_graficos");
    if (doc.caminho.empty())
        return QDir::home().filePath(QStringLiteral("keldo") + base + sufixo);
    const QFileInfo projeto(QFile::decodeName(QByteArray::fromStdString(doc.caminho)));
    return projeto.dir().filePath(projeto.completeBaseName() + base + sufixo);
}

void CGraficosDlg::escolherEExportar(const QString& titulo, const QString& filtro,
                                     const QString& sufixo,
                                     bool (CGraficosDlg::*exportar)(const QString&)) {
    QString arquivo = QFileDialog::getSaveFileName(this, titulo, nomeProposto(sufixo), filtro);
    if (arquivo.isEmpty())
        return;
    if (QFileInfo(arquivo).suffix().isEmpty())
        arquivo += sufixo;
    if (!(this->*exportar)(arquivo))
        QMessageBox::warning(this, QStringLiteral("KELDO"),
                             QStringLiteral("Não foi possível gravar o arquivo %1.")
                                 .arg(QDir::toNativeSeparators(arquivo)));
}
