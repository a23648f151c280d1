#include "app/CModoApresentacao.h"
#include "app/CGraficosDlg.h"
#include "app/CKeldoView.h"
#include "app/CMainFrame.h"
#include "app/ImagensArena.h"
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace keldo::app {

namespace {

// The speeds + and - step through.
constexpr std::array<int, 12> passosVelocidade{1,   2,   5,   10,   20,   50,
                                               100, 200, 500, 1000, 2000, 5000};

// A redraw at the display's rate; the cycles of a tick stop when they have
// used three quarters of it, so the picture keeps that rate at any speed.
int intervaloQuadroMs(const QScreen* tela) {
    const double hz = tela && tela->refreshRate() > 1.0 ? tela->refreshRate() : 60.0;
    return std::max(1, static_cast<int>(1000.0 / hz));
}

QImage icone(const QImage& imagem) {
    const int lado = CModoApresentacao::ladoIconeLegenda;
    // The sprites double pixel for pixel, crisp as on a projector they should be.
    const Qt::TransformationMode modo =
        imagem.width() * 2 == lado ? Qt::FastTransformation : Qt::SmoothTransformation;
    return imagem.scaled(lado, lado, Qt::KeepAspectRatio, modo);
}

QImage sprite(int indice) {
    return ImagensArena::comTransparencia(ImagensArena::imagemItem(indice),
                                          ImagensArena::corTransparente());
}

} // namespace

CModoApresentacao::CModoApresentacao(CMainFrame& p)
    : QWidget(nullptr, Qt::Window), principal(p),
      imagem(ImagensArena::larguraFundo, ImagensArena::alturaFundo, QImage::Format_RGB32) {
    setObjectName(QStringLiteral("modoApresentacao"));
    setWindowTitle(QStringLiteral("KELDO: modo de apresentação"));
    QFont grande = font();
    grande.setPointSizeF(grande.pointSizeF() * 1.6);
    setFont(grande);
    auto* layout = new QHBoxLayout(this);
    auto* esquerda = new QVBoxLayout;
    arena = new QLabel(this);
    arena->setObjectName(QStringLiteral("arenaApresentacao"));
    arena->setScaledContents(true); // always sized to the picture's 4:3
    esquerda->addWidget(arena, 0, Qt::AlignHCenter);
    painelRodape = montarRodape();
    esquerda->addWidget(painelRodape, 1);
    layout->addLayout(esquerda);
    janelaGraficos = new CGraficosDlg(principal.documento(), this);
    QFont normal = QApplication::font();       // its controls must fit beside the arena
    normal.setPointSizeF(normal.pointSizeF()); // set, so not inherited from here
    janelaGraficos->setFont(normal);
    janelaGraficos->embutir();
    if (const CGraficosDlg* aberta = principal.janelaGraficos())
        janelaGraficos->copiarEscolhas(*aberta);
    else
        janelaGraficos->mostrarHeterozigose(false);
    layout->addWidget(janelaGraficos, 1);
    montarTeclas();
    setFocusPolicy(Qt::StrongFocus);
    // Its own least size: the arena's fixed size of the last screen must not
    // hold the window at that size on a smaller one.
    setMinimumSize(ImagensArena::larguraFundo, ImagensArena::alturaFundo);
    relogio.setTimerType(Qt::PreciseTimer);
    connect(&relogio, &QTimer::timeout, this, &CModoApresentacao::quadro);
    // The picture the main window shows, painted without a draw of the world.
    pintarArena(false);
    mostrar();
}

CModoApresentacao::~CModoApresentacao() = default;

QWidget* CModoApresentacao::montarRodape() {
    auto* painel = new QWidget(this);
    painel->setObjectName(QStringLiteral("rodapeApresentacao"));
    auto* coluna = new QVBoxLayout(painel);
    coluna->setContentsMargins(0, 0, 0, 0);
    coluna->addWidget(montarLegenda());
    estado = new QLabel(painel);
    estado->setObjectName(QStringLiteral("estadoApresentacao"));
    estado->setWordWrap(true);
    estado->setMinimumWidth(1);
    coluna->addWidget(estado);
    coluna->addStretch(1);

    auto* botoes = new QHBoxLayout;
    botaoIniciar = new QPushButton(QStringLiteral("Iniciar (Espaço)"), painel);
    botaoIniciar->setObjectName(QStringLiteral("botaoIniciarParar"));
    connect(botaoIniciar, &QPushButton::clicked, this, &CModoApresentacao::iniciarOuParar);
    auto* botaoPasso = new QPushButton(QStringLiteral("Passo (→)"), painel);
    botaoPasso->setObjectName(QStringLiteral("botaoPasso"));
    botaoPasso->setToolTip(QStringLiteral("Um ciclo (seta para a direita)"));
    connect(botaoPasso, &QPushButton::clicked, this, &CModoApresentacao::passo);
    velocidade = new QSpinBox(painel);
    velocidade->setObjectName(QStringLiteral("ciclosPorQuadro"));
    velocidade->setRange(1, maximoCiclosPorQuadro);
    velocidade->setStepType(QAbstractSpinBox::AdaptiveDecimalStepType);
    velocidade->setValue(1);
    velocidade->setSuffix(QStringLiteral(" ciclos/quadro"));
    velocidade->setToolTip(QStringLiteral("Velocidade: teclas + e −"));
    auto* sair = new QPushButton(QStringLiteral("Sair (Esc)"), painel);
    sair->setObjectName(QStringLiteral("botaoSair"));
    connect(sair, &QPushButton::clicked, this, &QWidget::close);
    // None takes the focus: Space must never press a button or type a digit.
    for (QWidget* w : std::initializer_list<QWidget*>{botaoIniciar, botaoPasso, velocidade, sair})
        w->setFocusPolicy(Qt::NoFocus);
    for (QWidget* w : velocidade->findChildren<QWidget*>())
        w->setFocusPolicy(Qt::NoFocus); // its text field: the arrows, wheel and +/- set it
    botoes->addWidget(botaoIniciar);
    botoes->addWidget(botaoPasso);
    botoes->addWidget(velocidade, 1);
    botoes->addWidget(sair);
    coluna->addLayout(botoes);
    return painel;
}

std::vector<CModoApresentacao::EntradaLegenda> CModoApresentacao::legenda() {
    using namespace ImagensArena;
    return {{sprite(machoMM), QStringLiteral("verde: MM")},
            {sprite(machoMm), QStringLiteral("vermelho: Mm")},
            {sprite(machomm), QStringLiteral("azul: mm")},
            {sprite(machoMM), QStringLiteral("♂ macho")},
            {sprite(femeaMM), QStringLiteral("♀ fêmea")},
            {sprite(ovo), QStringLiteral("ovo")},
            {sprite(alimento), QStringLiteral("alimento")},
            {amostraObstaculo(true), QStringLiteral("obstáculo")},
            {amostraObstaculo(false), QStringLiteral("obstáculo: água")}};
}

QWidget* CModoApresentacao::montarLegenda() {
    auto* painel = new QWidget(this);
    painel->setObjectName(QStringLiteral("legendaApresentacao"));
    auto* grade = new QGridLayout(painel);
    grade->setContentsMargins(0, 0, 0, 0);
    auto* titulo = new QLabel(QStringLiteral("<b>Cor:</b> gene Morte; <b>forma:</b> sexo"), painel);
    grade->addWidget(titulo, 0, 0, 1, 6);
    const std::vector<EntradaLegenda> entradas = legenda();
    constexpr int porLinha = 3;
    for (size_t k = 0; k < entradas.size(); ++k) {
        const int linha = 1 + static_cast<int>(k) / porLinha;
        const int coluna = 2 * (static_cast<int>(k) % porLinha);
        auto* figura = new QLabel(painel);
        figura->setPixmap(QPixmap::fromImage(icone(entradas[k].imagem)));
        grade->addWidget(figura, linha, coluna);
        grade->addWidget(new QLabel(entradas[k].texto, painel), linha, coluna + 1);
    }
    for (int c = 1; c < 2 * porLinha; c += 2)
        grade->setColumnStretch(c, 1);
    return painel;
}

QAction* CModoApresentacao::tecla(const QList<QKeySequence>& teclas,
                                  void (CModoApresentacao::*metodo)()) {
    auto* acao = new QAction(this);
    acao->setShortcuts(teclas);
    // The window's keys, whichever part of it (the charts too) has the focus.
    acao->setShortcutContext(Qt::WindowShortcut);
    connect(acao, &QAction::triggered, this, metodo);
    addAction(acao);
    return acao;
}

void CModoApresentacao::montarTeclas() {
    tecla({QKeySequence(Qt::Key_Space)}, &CModoApresentacao::iniciarOuParar)
        ->setObjectName(QStringLiteral("teclaIniciarParar"));
    tecla({QKeySequence(Qt::Key_Right)}, &CModoApresentacao::passo)
        ->setObjectName(QStringLiteral("teclaPasso"));
    tecla({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)}, &CModoApresentacao::maisRapido)
        ->setObjectName(QStringLiteral("teclaMaisRapido"));
    tecla({QKeySequence(Qt::Key_Minus)}, &CModoApresentacao::maisLento)
        ->setObjectName(QStringLiteral("teclaMaisLento"));
    auto* sair = new QAction(this);
    sair->setObjectName(QStringLiteral("teclaSair"));
    sair->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_F11)});
    sair->setShortcutContext(Qt::WindowShortcut);
    connect(sair, &QAction::triggered, this, &QWidget::close);
    addAction(sair);
}

QRect CModoApresentacao::retanguloArena() const {
    return arena->geometry();
}

// The largest 4:3 arena that leaves the charts their least width and the
// legend and controls their height under it (narrower, they wrap taller).
void CModoApresentacao::dimensionarArena() {
    const QMargins m = layout()->contentsMargins();
    const int espaco = std::max(0, layout()->spacing());
    const int largura = width() - m.left() - m.right() - espaco;
    const int altura = height() - m.top() - m.bottom() - espaco;
    const int minimoGraficos =
        std::max(CGraficosDlg::tamanhoMinimo().width(), janelaGraficos->minimumSizeHint().width());
    const auto alturaRodape = [this](int w) {
        const int h = painelRodape->heightForWidth(w);
        return h >= 0 ? h : painelRodape->sizeHint().height();
    };
    int w = std::max(1, largura - minimoGraficos);
    for (int k = 0; k < 6; ++k) {
        const int porAltura =
            (altura - alturaRodape(w)) * ImagensArena::larguraFundo / ImagensArena::alturaFundo;
        w = std::max(64, std::min(w, porAltura));
    }
    arena->setFixedSize(w, w * ImagensArena::alturaFundo / ImagensArena::larguraFundo);
    painelRodape->setFixedWidth(w);
}

void CModoApresentacao::resizeEvent(QResizeEvent* evento) {
    QWidget::resizeEvent(evento);
    dimensionarArena();
}

void CModoApresentacao::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    dimensionarArena();
    setFocus();
}

void CModoApresentacao::definirCiclosPorQuadro(int c) {
    velocidade->setValue(c);
}

int CModoApresentacao::ciclosPorQuadro() const {
    return velocidade->value();
}

void CModoApresentacao::maisRapido() {
    const auto proximo =
        std::upper_bound(passosVelocidade.begin(), passosVelocidade.end(), ciclosPorQuadro());
    definirCiclosPorQuadro(proximo == passosVelocidade.end() ? maximoCiclosPorQuadro : *proximo);
}

void CModoApresentacao::maisLento() {
    const auto menor =
        std::lower_bound(passosVelocidade.begin(), passosVelocidade.end(), ciclosPorQuadro());
    definirCiclosPorQuadro(menor == passosVelocidade.begin() ? 1 : *(menor - 1));
}

void CModoApresentacao::iniciar() {
    principal.parar(); // one timer runs the world: this one
    principal.documento().iniciarExecucao();
    botaoIniciar->setText(QStringLiteral("Parar (Espaço)"));
    relogio.start(intervaloQuadroMs(screen()));
}

void CModoApresentacao::parar() {
    relogio.stop();
    principal.documento().pararExecucao();
    botaoIniciar->setText(QStringLiteral("Iniciar (Espaço)"));
}

void CModoApresentacao::iniciarOuParar() {
    executando() ? parar() : iniciar();
}

void CModoApresentacao::passo() {
    parar();
    pedido = false;
    CKeldoDoc& doc = principal.documento();
    const int antes = doc.tempo();
    // A step is a cycle now, whatever real-time spacing paces the runs.
    doc.definirIgnorarTempoReal(true);
    doc.executarCiclo();
    doc.definirIgnorarTempoReal(false);
    ciclos += doc.tempo() - antes;
    pintarArena(pedido);
    mostrar();
}

// Many cycles, then one picture. Each redraw the document asks for before
// the last cycle takes its paint's draws: the draws the main window's
// paint would take there.
void CModoApresentacao::quadro() {
    CKeldoDoc& doc = principal.documento();
    QElapsedTimer gasto;
    gasto.start();
    const qint64 orcamentoMs = std::max(1, relogio.interval() * 3 / 4);
    bool pintada = false;
    for (int k = 1;; ++k) {
        pedido = false;
        const int antes = doc.tempo();
        const bool seguiu = doc.executarCiclo();
        ciclos += doc.tempo() - antes;
        const bool ultimo = !seguiu || !doc.executando() || !relogio.isActive() ||
                            k >= ciclosPorQuadro() || gasto.hasExpired(orcamentoMs);
        if (pedido && ultimo)
            pintarArena(true);
        else if (pedido)
            tirarSorteiosDaPintura();
        pintada = pedido && ultimo;
        if (ultimo)
            break;
    }
    if (!doc.executando())
        parar();
    if (!pintada)
        pintarArena(false);
    mostrar();
}

// The main view's paint; without `tirarSorteios` the generator is put back
// after it, so the picture costs the world no draw.
void CModoApresentacao::pintarArena(bool tirarSorteios) {
    auto& gerador = principal.documento().gerador();
    const uint32_t antes = gerador.estadoAtual();
    {
        QPainter p(&imagem);
        principal.vista()->desenhar(p);
    }
    if (!tirarSorteios)
        gerador.semear(antes);
    ++quadros;
    arena->setPixmap(QPixmap::fromImage(imagem));
}

// Two draws an item, as CKeldoView::desenhar takes them.
void CModoApresentacao::tirarSorteiosDaPintura() {
    const CKeldoDoc& doc = principal.documento();
    const size_t itens = doc.alimentos().size() + doc.vivos().size();
    auto& gerador = principal.documento().gerador();
    for (size_t k = 0; k < 2 * itens; ++k)
        gerador.proximo();
}

void CModoApresentacao::mostrar() {
    estado->setText(principal.textoStatus());
    janelaGraficos->atualizar();
}

void CModoApresentacao::closeEvent(QCloseEvent* evento) {
    parar();
    if (CGraficosDlg* aberta = principal.janelaGraficos())
        aberta->copiarEscolhas(*janelaGraficos);
    emit fechado();
    QWidget::closeEvent(evento);
}

} // namespace keldo::app
