#include "app/CGraficosDlg.h"
#include "app/LegendaExportacao.h"
#include "app/PosicaoJanela.h"
#include "sim/CKeldoDoc.h"
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QVBoxLayout>
#include <cmath>
#include <qcustomplot.h>

namespace keldo::app {

using namespace keldo::sim;

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
const QString chaveGeometria = QStringLiteral("graficos/geometria");
// Thin lines: a raster replot of 10,000 points costs about 1.5 ms at one
// pixel and some 25 ms at one and a half.
constexpr double larguraLinha = 1.0;

QPen caneta(QRgb cor, Qt::PenStyle estilo = Qt::SolidLine) {
    return QPen(QColor::fromRgb(cor), larguraLinha, estilo);
}

QString nomeGene(Genoma::Gene g) {
    return QString::fromUtf8(Genoma::nome(g));
}

// The colour of an allele in the interface's order.
QRgb corAlelo(Genoma::Gene g, int posicao) {
    static constexpr QRgb coresQuatro[4] = {azul, laranja, verdeAzulado, purpura};
    if (g == Genoma::Morte)
        return posicao == 0 ? verdeMM : azulmm;
    if (Genoma::numAlelos(g) == 4)
        return coresQuatro[posicao];
    return posicao == 0 ? azul : vermelhao;
}

// A figure, or a gap where nobody carries the locus.
double ouLacuna(bool definida, double valor) {
    return definida ? valor : qQNaN();
}

// Each allele in the genome's order; a one-bit gene's small letter drawn as
// the complement of its capital's column.
std::vector<PainelCurvas::Curva> curvasFrequencia(Genoma::Gene g) {
    const bool doisBits = Genoma::numAlelos(g) == 4;
    std::vector<PainelCurvas::Curva> curvas;
    for (int k = 0; k < Genoma::numAlelos(g); ++k) {
        const int coluna = Genoma::colunaResumo(g) + (doisBits ? k : 0);
        const bool complemento = !doisBits && k == 1;
        curvas.push_back({QString::fromUtf8(Genoma::letraNaPosicao(g, k)), caneta(corAlelo(g, k)),
                          [coluna, complemento](const AmostraPopulacao& a) {
                              const double f = a.frequencia(coluna);
                              return ouLacuna(a.definida(coluna), complemento ? 1.0 - f : f);
                          }});
    }
    return curvas;
}

// Observed heterozygotes against Hardy–Weinberg; for a two-allele gene also
// the homozygotes, each observed (solid) beside its expectation (dotted).
std::vector<PainelCurvas::Curva> curvasHeterozigose(Genoma::Gene g) {
    const int coluna = Genoma::colunaResumo(g);
    auto comGente = [](const AmostraPopulacao& a) { return a.adultos + a.ovos > 0; };
    std::vector<PainelCurvas::Curva> curvas;
    const QString maiuscula = QString::fromUtf8(Genoma::letraNaPosicao(g, 0));
    const QString minuscula = QString::fromUtf8(Genoma::letraNaPosicao(g, 1));
    const bool doisAlelos = Genoma::numAlelos(g) == 2;
    const QString het = doisAlelos ? QStringLiteral(" ") + maiuscula + minuscula : QString();
    curvas.push_back(
        {QStringLiteral("Ho") + het, caneta(0xFF000000), [g, comGente](const AmostraPopulacao& a) {
             return ouLacuna(comGente(a), a.heterozigoseObservada(g));
         }});
    curvas.push_back({QStringLiteral("He") + het, caneta(0xFF000000, Qt::DashLine),
                      [g, comGente](const AmostraPopulacao& a) {
                          return ouLacuna(comGente(a), a.heterozigoseEsperada(g));
                      }});
    if (!doisAlelos)
        return curvas;
    for (int maiusculas : {2, 0}) {
        const QString nome = maiusculas == 2 ? maiuscula + maiuscula : minuscula + minuscula;
        const QRgb cor = corAlelo(g, maiusculas == 2 ? 0 : 1);
        curvas.push_back({nome, caneta(cor), [g, maiusculas, comGente](const AmostraPopulacao& a) {
                              return ouLacuna(comGente(a), a.frequenciaGenotipo(g, maiusculas));
                          }});
        curvas.push_back({nome + QStringLiteral(" esp."), caneta(cor, Qt::DotLine),
                          [coluna, maiusculas, comGente](const AmostraPopulacao& a) {
                              const double p = a.frequencia(coluna);
                              const double q = maiusculas == 2 ? p : 1.0 - p;
                              return ouLacuna(comGente(a), q * q);
                          }});
    }
    return curvas;
}

bool autossomico(Genoma::Gene g) {
    return Genoma::genes[g].cromossomo == Genoma::Cromossomo::autossomo;
}
} // namespace

CGraficosDlg::CGraficosDlg(const CKeldoDoc& d, QWidget* pai) : QDialog(pai), doc(d) {
    setWindowTitle(tituloJanela);
    setModal(false);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(montarControles());
    plot = new QCustomPlot(this);
    plot->setObjectName(QStringLiteral("grafico"));
    plot->setNoAntialiasingOnDrag(true);
    plot->setAutoAddPlottableToLegend(false);
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    rolagem = new QScrollArea(this);
    rolagem->setObjectName(QStringLiteral("rolagemPaineis"));
    rolagem->setWidgetResizable(true);
    rolagem->setFrameShape(QFrame::NoFrame);
    rolagem->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rolagem->setWidget(plot);
    layout->addWidget(rolagem, 1);
    layout->addWidget(montarBotoes());
    montarPaineis();

    adiado.setSingleShot(true);
    connect(&adiado, &QTimer::timeout, this, &CGraficosDlg::desenhar);
    resize(tamanhoDesejado());
}

CGraficosDlg::~CGraficosDlg() = default;

QWidget* CGraficosDlg::montarControles() {
    auto* barra = new QWidget(this);
    auto* coluna = new QVBoxLayout(barra);
    coluna->setContentsMargins(0, 0, 0, 0);
    auto* rotulo = new QLabel(QStringLiteral("&Genes:"), barra);
    listaGenes = new QListWidget(barra);
    listaGenes->setObjectName(QStringLiteral("listaGenes"));
    listaGenes->setFlow(QListView::LeftToRight);
    listaGenes->setWrapping(true);
    listaGenes->setResizeMode(QListView::Adjust);
    listaGenes->setMaximumHeight(3 * fontMetrics().height() + 16);
    for (int i = 0; i < Genoma::numGenes; ++i) {
        auto* item = new QListWidgetItem(nomeGene(static_cast<Genoma::Gene>(i)), listaGenes);
        item->setCheckState(i == 0 ? Qt::Checked : Qt::Unchecked);
    }
    listaGenes->setCurrentRow(0);
    rotulo->setBuddy(listaGenes);
    coluna->addWidget(rotulo);
    coluna->addWidget(listaGenes);

    // Narrow enough for the strip beside the arena on a 1024-pixel projector.
    caixaHeterozigose = new QCheckBox(QStringLiteral("&Heterozigose do gene selecionado"), barra);
    caixaHeterozigose->setObjectName(QStringLiteral("caixaHeterozigose"));
    coluna->addWidget(caixaHeterozigose);
    auto* linha = new QHBoxLayout;
    caixaGeracoes = new QCheckBox(QStringLiteral("Eixo em g&erações"), barra);
    caixaGeracoes->setObjectName(QStringLiteral("caixaGeracoes"));
    auto* tudo = new QPushButton(QStringLiteral("&Tudo"), barra);
    tudo->setObjectName(QStringLiteral("botaoTudo"));
    tudo->setAutoDefault(false);
    tudo->setToolTip(QStringLiteral("Mostra a execução inteira (a roda do mouse aproxima e "
                                    "arrastar desloca o eixo do tempo)"));
    auto* fechar = new QPushButton(QStringLiteral("&Fechar"), barra);
    fechar->setObjectName(QStringLiteral("botaoFechar"));
    fechar->setAutoDefault(false);
    connect(fechar, &QPushButton::clicked, this, &QDialog::close);
    linha->addWidget(caixaGeracoes);
    linha->addStretch(1);
    linha->addWidget(tudo);
    linha->addWidget(fechar);
    coluna->addLayout(linha);

    connect(listaGenes, &QListWidget::itemChanged, this, [this] {
        montarPaineis();
        desenhar();
    });
    connect(listaGenes, &QListWidget::currentRowChanged, this, [this] {
        if (caixaHeterozigose->isChecked()) {
            montarPaineis();
            desenhar();
        }
    });
    connect(caixaHeterozigose, &QCheckBox::toggled, this, &CGraficosDlg::mostrarHeterozigose);
    connect(caixaGeracoes, &QCheckBox::toggled, this, &CGraficosDlg::usarGeracoes);
    connect(tudo, &QPushButton::clicked, this, &CGraficosDlg::verTudo);
    return barra;
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
    return barra;
}

// ---- Panels -------------------------------------------------------------

void CGraficosDlg::montarPaineis() {
    plot->clearGraphs();
    plot->plotLayout()->clear();
    paineis.clear();
    delete margens; // empty now: the panels left it as they went
    margens = new QCPMarginGroup(plot);
    porGene.assign(Genoma::numGenes, nullptr);
    heterozigose = nullptr;
    adicionarPainel(QStringLiteral("População"), QStringLiteral("Quantidade"),
                    {{QStringLiteral("Adultos"), QPen(corAdultos, larguraLinha),
                      [](const AmostraPopulacao& a) { return static_cast<double>(a.adultos); }},
                     {QStringLiteral("Ovos"), QPen(corOvos, larguraLinha),
                      [](const AmostraPopulacao& a) { return static_cast<double>(a.ovos); }},
                     {QStringLiteral("Alimentos"), QPen(corAlimentos, larguraLinha, Qt::DashLine),
                      [](const AmostraPopulacao& a) { return static_cast<double>(a.alimentos); }}});
    for (int i = 0; i < Genoma::numGenes; ++i) {
        if (listaGenes->item(i)->checkState() != Qt::Checked)
            continue;
        const auto g = static_cast<Genoma::Gene>(i);
        adicionarPainel(QStringLiteral("Frequências alélicas: gene %1").arg(nomeGene(g)),
                        QStringLiteral("Frequência"), curvasFrequencia(g));
        porGene[static_cast<size_t>(i)] = paineis.back().get();
    }
    const Genoma::Gene selecionado = geneSelecionado();
    if (caixaHeterozigose->isChecked() && autossomico(selecionado)) {
        adicionarPainel(QStringLiteral("Heterozigose: gene %1").arg(nomeGene(selecionado)),
                        QStringLiteral("Fração"), curvasHeterozigose(selecionado));
        heterozigose = paineis.back().get();
    }
    ligarEixosX();
}

// The layout knows its rows' least heights once a replot has measured the
// axes' labels.
int CGraficosDlg::alturaMinimaPaineis() const {
    return plot->plotLayout()->minimumOuterSizeHint().height() +
           numPaineis() * 2 * plot->fontMetrics().height();
}

void CGraficosDlg::adicionarPainel(const QString& titulo, const QString& rotuloY,
                                   std::vector<PainelCurvas::Curva> curvas) {
    const int linha = 3 * static_cast<int>(paineis.size());
    paineis.push_back(
        std::make_unique<PainelCurvas>(plot, linha, titulo, rotuloY, std::move(curvas), margens));
}

// The panels share the time axis: a drag or a zoom in one moves them all,
// and from then on the run's new cycles no longer move it.
void CGraficosDlg::ligarEixosX() {
    const QString rotulo =
        emGeracoes() ? QStringLiteral("Geração") : QStringLiteral("Tempo (ciclos)");
    for (const auto& p : paineis) {
        QCPAxis* x = p->eixos()->axis(QCPAxis::atBottom);
        // The shared axis is labelled once, under the last panel.
        x->setLabel(p == paineis.back() ? rotulo : QString());
        x->setTickLabels(p == paineis.back());
        connect(x, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
                [this](const QCPRange& faixa) {
                    if (ajustando)
                        return;
                    zoomDoUsuario = true;
                    ajustando = true;
                    for (const auto& outro : paineis)
                        outro->eixos()->axis(QCPAxis::atBottom)->setRange(faixa);
                    ajustando = false;
                });
    }
}

void CGraficosDlg::marcarGene(Genoma::Gene g, bool marcado) {
    listaGenes->item(g)->setCheckState(marcado ? Qt::Checked : Qt::Unchecked);
}

void CGraficosDlg::selecionarGene(Genoma::Gene g) {
    listaGenes->setCurrentRow(g);
}

Genoma::Gene CGraficosDlg::geneSelecionado() const {
    const int linha = listaGenes->currentRow();
    return static_cast<Genoma::Gene>(linha < 0 ? 0 : linha);
}

bool CGraficosDlg::geneMarcado(Genoma::Gene g) const {
    return listaGenes->item(g)->checkState() == Qt::Checked;
}

bool CGraficosDlg::heterozigoseMostrada() const {
    return caixaHeterozigose->isChecked();
}

void CGraficosDlg::copiarEscolhas(const CGraficosDlg& de) {
    for (int g = 0; g < Genoma::numGenes; ++g)
        marcarGene(static_cast<Genoma::Gene>(g), de.geneMarcado(static_cast<Genoma::Gene>(g)));
    selecionarGene(de.geneSelecionado());
    mostrarHeterozigose(de.heterozigoseMostrada());
    usarGeracoes(de.emGeracoes());
}

void CGraficosDlg::mostrarHeterozigose(bool mostrar) {
    if (caixaHeterozigose->isChecked() != mostrar) {
        caixaHeterozigose->setChecked(mostrar); // comes back here through the signal
        return;
    }
    montarPaineis();
    desenhar();
}

void CGraficosDlg::usarGeracoes(bool geracoes) {
    if (caixaGeracoes->isChecked() != geracoes) {
        caixaGeracoes->setChecked(geracoes);
        return;
    }
    zoomDoUsuario = false; // a range in cycles means nothing in generations
    montarPaineis();
    desenhar();
}

bool CGraficosDlg::emGeracoes() const {
    return caixaGeracoes->isChecked();
}

void CGraficosDlg::verTudo() {
    zoomDoUsuario = false;
    desenhar();
}

void CGraficosDlg::embutir() {
    embutido = true;
    posicionado = true;
    setWindowFlags(Qt::Widget);
    setSizeGripEnabled(false);
    if (auto* fechar = findChild<QPushButton*>(QStringLiteral("botaoFechar")))
        fechar->hide();
}

void CGraficosDlg::mundoNovo(std::optional<SimulationParameters> parametros) {
    parametrosMundo = std::move(parametros);
    zoomDoUsuario = false;
    atualizar();
}

const PainelCurvas* CGraficosDlg::painelGene(Genoma::Gene g) const {
    return porGene[static_cast<size_t>(g)];
}

// ---- Drawing -----------------------------------------------------------

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
    const EstatisticasPopulacao& e = doc.estatisticas();
    std::vector<const AmostraPopulacao*> amostras;
    amostras.reserve(e.historico().size() + 1);
    for (const AmostraPopulacao& a : e.historico())
        amostras.push_back(&a);
    // The latest cycle shows even when the history keeps only every n-th.
    if (!amostras.empty() && e.ultima().tempo != amostras.back()->tempo)
        amostras.push_back(&e.ultima());
    const bool geracoes = emGeracoes();
    QVector<double> x;
    x.reserve(static_cast<qsizetype>(amostras.size()));
    for (const AmostraPopulacao* a : amostras)
        x.push_back(geracoes ? a->geracao : a->tempo);
    for (const auto& p : paineis)
        p->preencher(x, amostras);
    const double inicio = x.isEmpty() ? 0.0 : x.front();
    const double fim = x.isEmpty() ? 0.0 : x.back();
    ajustarEixos(inicio, std::max(fim, inicio + (geracoes ? 1.0 : 10.0)));
    plot->replot();
    // A taller minimum resizes the plot, which replots it.
    if (const int altura = alturaMinimaPaineis(); altura != plot->minimumHeight())
        plot->setMinimumSize(300, altura);
    custoUltimoMs = desdeDesenho.elapsed();
}

void CGraficosDlg::ajustarEixos(double inicio, double fim) {
    ajustando = true;
    for (const auto& p : paineis) {
        if (!zoomDoUsuario)
            p->eixos()->axis(QCPAxis::atBottom)->setRange(inicio, fim);
        const bool fracoes = p != paineis.front();
        p->eixos()
            ->axis(QCPAxis::atLeft)
            ->setRange(fracoes ? QCPRange(-0.02, 1.02)
                               : QCPRange(0.0, std::ceil(std::max(1.0, p->maiorValor()) * 1.08)));
    }
    ajustando = false;
}

// ---- Placement ---------------------------------------------------------

void CGraficosDlg::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    if (!posicionado) {
        posicionado = true;
        posicionar();
    }
    desenhar();
}

void CGraficosDlg::hideEvent(QHideEvent* evento) {
    if (!embutido)
        QSettings(QStringLiteral("Keldo"), QStringLiteral("keldo"))
            .setValue(chaveGeometria, saveGeometry());
    QDialog::hideEvent(evento);
}

// Where it was last time when that is still on a screen; else beside the
// main window without covering it.
void CGraficosDlg::posicionar() {
    const QByteArray salva = QSettings(QStringLiteral("Keldo"), QStringLiteral("keldo"))
                                 .value(chaveGeometria)
                                 .toByteArray();
    if (!salva.isEmpty() && restoreGeometry(salva))
        return;
    QWidget* principal = parentWidget();
    const QScreen* tela = principal ? principal->screen() : screen();
    if (!principal || !tela)
        return;
    // The frame around the client area, as the main window has it.
    const QRect moldura = principal->frameGeometry();
    const QRect cliente = principal->geometry();
    const QMargins borda(cliente.left() - moldura.left(), cliente.top() - moldura.top(),
                         moldura.right() - cliente.right(), moldura.bottom() - cliente.bottom());
    const QSize extra(borda.left() + borda.right(), borda.top() + borda.bottom());
    // Qt never makes the window smaller than its layout allows, and a window
    // manager slides a widened window back onto the screen, over the arena.
    const QSize minimo = tamanhoMinimo().expandedTo(minimumSizeHint()) + extra;
    const QSize desejado = tamanhoDesejado().expandedTo(minimo - extra) + extra;
    const QRect area = tela->availableGeometry();
    // No strip wide enough: our own main window makes room.
    const QPoint lugar = PosicaoJanela::lugarDoPrincipal(area, moldura, desejado, minimo);
    if (lugar != moldura.topLeft())
        principal->move(lugar);
    const QRect r = PosicaoJanela::aoLado(area, QRect(lugar, moldura.size()), desejado, minimo);
    setGeometry(r.marginsRemoved(borda));
}

// ---- Export ------------------------------------------------------------

QString CGraficosDlg::textoLegenda() const {
    const QString projeto =
        !doc.arquivo().temCaminho()
            ? QStringLiteral("Untitled")
            : QFileInfo(QFile::decodeName(QByteArray::fromStdString(doc.arquivo().caminho())))
                  .fileName();
    return LegendaExportacao::texto(projeto, QDateTime::currentDateTime(), doc.sementeMundo(),
                                    parametrosMundo);
}

// The caption joins the charts below the last panel for the file only.
bool CGraficosDlg::exportar(const std::function<bool()>& gravar) {
    desenhar();
    QCPLayoutGrid* grade = plot->plotLayout();
    const int linha = grade->rowCount();
    QFont fonte = plot->font();
    fonte.setPointSizeF(fonte.pointSizeF() * 0.9);
    auto* legenda = new QCPTextElement(plot, textoLegenda(), fonte);
    legenda->setObjectName(QStringLiteral("legendaExportacao"));
    grade->addElement(linha, 0, legenda);
    grade->setRowStretchFactor(linha, 0.001);
    plot->replot();
    const bool ok = gravar();
    grade->remove(legenda);
    grade->simplify();
    plot->replot();
    return ok;
}

// A file gets room for every panel and the caption, however small the window.
QSize CGraficosDlg::tamanhoExportacao() const {
    return {std::max(plot->width(), 900), std::max(plot->height(), 240 * numPaineis() + 90)};
}

bool CGraficosDlg::exportarPng(const QString& caminho) {
    const QSize t = tamanhoExportacao();
    return exportar([&] { return plot->savePng(caminho, t.width(), t.height(), 2.0); });
}

bool CGraficosDlg::exportarPdf(const QString& caminho) {
    const QSize t = tamanhoExportacao();
    return exportar([&] {
        return plot->savePdf(caminho, t.width(), t.height(), QCP::epNoCosmetic,
                             QStringLiteral("keldo"), tituloJanela);
    });
}

// The same figures, columns and format as keldo-run --summary.
bool CGraficosDlg::exportarCsv(const QString& caminho) {
    const std::string texto = doc.estatisticas().textoCsv();
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        return false;
    arquivo.write(texto.data(), static_cast<qint64>(texto.size()));
    return arquivo.commit();
}

QString CGraficosDlg::nomeProposto(const QString& sufixo) const {
    const QString base =
        sufixo == QStringLiteral(".csv") ? QStringLiteral("_resumo") : QStringLiteral("_graficos");
    if (!doc.arquivo().temCaminho())
        return QDir::home().filePath(QStringLiteral("keldo") + base + sufixo);
    const QFileInfo projeto(QFile::decodeName(QByteArray::fromStdString(doc.arquivo().caminho())));
    return projeto.dir().filePath(projeto.completeBaseName() + base + sufixo);
}

void CGraficosDlg::escolherEExportar(const QString& titulo, const QString& filtro,
                                     const QString& sufixo,
                                     bool (CGraficosDlg::*gravarEm)(const QString&)) {
    QString arquivo = QFileDialog::getSaveFileName(this, titulo, nomeProposto(sufixo), filtro);
    if (arquivo.isEmpty())
        return;
    if (QFileInfo(arquivo).suffix().isEmpty())
        arquivo += sufixo;
    if (!(this->*gravarEm)(arquivo))
        QMessageBox::warning(this, QStringLiteral("KELDO"),
                             QStringLiteral("Não foi possível gravar o arquivo %1.")
                                 .arg(QDir::toNativeSeparators(arquivo)));
}

} // namespace keldo::app
