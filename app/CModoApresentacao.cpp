#include "app/CModoApresentacao.h"
#include "app/CGraficosDlg.h"
#include "app/CKeldoView.h"
#include "app/CMainFrame.h"
#include "app/ImagensArena.h"
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace keldo::app {

namespace {
// A projector's frame rate: the arena is redrawn once a tick.
constexpr int intervaloQuadroMs = 16;
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
    arena = new QLabel(this);
    arena->setObjectName(QStringLiteral("arenaApresentacao"));
    arena->setAlignment(Qt::AlignCenter);
    arena->setFixedSize(tamanhoArena());
    layout->addWidget(arena, 0, Qt::AlignTop);
    layout->addWidget(montarPainel(), 1);
    relogio.setTimerType(Qt::PreciseTimer);
    connect(&relogio, &QTimer::timeout, this, &CModoApresentacao::quadro);
}

CModoApresentacao::~CModoApresentacao() = default;

// The screen's height, unless the arena would then leave the charts less
// than two fifths of the width (a 4:3 projector).
QSize CModoApresentacao::tamanhoArena() const {
    const QScreen* tela = principal.screen();
    const QSize t = tela ? tela->geometry().size() : QSize(1024, 768);
    const int margem = 24;
    const int altura =
        std::min(t.height() - margem,
                 (t.width() * 3 / 5) * ImagensArena::alturaFundo / ImagensArena::larguraFundo);
    return {altura * ImagensArena::larguraFundo / ImagensArena::alturaFundo, altura};
}

QWidget* CModoApresentacao::montarPainel() {
    auto* painel = new QWidget(this);
    auto* coluna = new QVBoxLayout(painel);
    janelaGraficos = new CGraficosDlg(principal.documento(), painel);
    QFont normal = QApplication::font();       // its controls must fit beside the arena
    normal.setPointSizeF(normal.pointSizeF()); // set, so not inherited from here
    janelaGraficos->setFont(normal);
    janelaGraficos->embutir();
    janelaGraficos->mostrarHeterozigose(false);
    coluna->addWidget(janelaGraficos, 1);
    auto* legenda = new QLabel(textoLegenda(), painel);
    legenda->setObjectName(QStringLiteral("legendaApresentacao"));
    legenda->setWordWrap(true);
    legenda->setMinimumWidth(1); // wraps to the column, never widens it
    coluna->addWidget(legenda);
    estado = new QLabel(painel);
    estado->setObjectName(QStringLiteral("estadoApresentacao"));
    estado->setWordWrap(true);
    estado->setMinimumWidth(1);
    coluna->addWidget(estado);
    auto* botoes = new QHBoxLayout;
    botaoIniciar = new QPushButton(QStringLiteral("Iniciar"), painel);
    botaoIniciar->setObjectName(QStringLiteral("botaoIniciarParar"));
    connect(botaoIniciar, &QPushButton::clicked, this,
            [this] { executando() ? parar() : iniciar(); });
    auto* botaoPasso = new QPushButton(QStringLiteral("Passo"), painel);
    botaoPasso->setObjectName(QStringLiteral("botaoPasso"));
    connect(botaoPasso, &QPushButton::clicked, this, &CModoApresentacao::passo);
    velocidade = new QSpinBox(painel);
    velocidade->setObjectName(QStringLiteral("ciclosPorQuadro"));
    velocidade->setRange(1, maximoCiclosPorQuadro);
    velocidade->setValue(1);
    velocidade->setSuffix(QStringLiteral(" ciclos/quadro"));
    auto* sair = new QPushButton(QStringLiteral("Sair (Esc)"), painel);
    connect(sair, &QPushButton::clicked, this, &QWidget::close);
    // Two rows, so the column stays as narrow as the room beside the arena.
    botoes->addWidget(botaoIniciar);
    botoes->addWidget(botaoPasso);
    botoes->addWidget(sair);
    coluna->addLayout(botoes);
    coluna->addWidget(velocidade);
    velocidade->setFocus(); // the speed is typed at once
    return painel;
}

QString CModoApresentacao::textoLegenda() {
    return QStringLiteral(
        "<b>Cores</b> pelo gene Morte: <span style='color:#28aa32'>●</span> MM, "
        "<span style='color:#dc2323'>●</span> Mm, <span style='color:#2350e6'>●</span> mm. "
        "♂ macho, ♀ fêmea; <span style='color:#808000'>●</span> ovo; "
        "<span style='color:#146414'>●</span> com grãos amarelos: alimento; quadrados verdes e "
        "azul-claros: obstáculos.");
}

void CModoApresentacao::definirCiclosPorQuadro(int c) {
    velocidade->setValue(c);
}

int CModoApresentacao::ciclosPorQuadro() const {
    return velocidade->value();
}

void CModoApresentacao::iniciar() {
    principal.parar(); // one timer runs the world: this one
    principal.documento().iniciarExecucao();
    botaoIniciar->setText(QStringLiteral("Parar"));
    relogio.start(intervaloQuadroMs);
}

void CModoApresentacao::parar() {
    relogio.stop();
    principal.documento().pararExecucao();
    botaoIniciar->setText(QStringLiteral("Iniciar"));
}

void CModoApresentacao::passo() {
    parar();
    principal.documento().executarCiclo();
    ++ciclos;
    redesenhar();
}

// Many cycles, then one picture: the views are not asked between them.
void CModoApresentacao::quadro() {
    CKeldoDoc& doc = principal.documento();
    for (int k = 0; k < ciclosPorQuadro() && relogio.isActive(); ++k) {
        if (!doc.executarCiclo() || !doc.executando())
            break;
        ++ciclos;
    }
    if (!doc.executando())
        parar();
    redesenhar();
}

void CModoApresentacao::redesenhar() {
    {
        QPainter p(&imagem);
        principal.vista()->desenhar(p); // the main window's paint, draws and all
    }
    ++quadros;
    arena->setPixmap(QPixmap::fromImage(imagem).scaled(arena->size(), Qt::KeepAspectRatio,
                                                       Qt::SmoothTransformation));
    estado->setText(QString::fromStdString(principal.documento().textoStatus()));
    janelaGraficos->desenhar();
}

void CModoApresentacao::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(evento);
}

void CModoApresentacao::closeEvent(QCloseEvent* evento) {
    parar();
    emit fechado();
    QWidget::closeEvent(evento);
}

} // namespace keldo::app
