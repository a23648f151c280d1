#include "editor/CMainFrame.h"
#include "editor/CIndividuosModel.h"
#include "editor/CKeldoView.h"
#include "editor/Textos.h"
#include "gui/Ajuda.h"
#include "gui/ArquivosRecentes.h"
#include "gui/CursorEspera.h"
#include "gui/IconePrograma.h"
#include "gui/MensagensArquivo.h"
#include "gui/PastaSimulacoes.h"
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace keldo::editor {

using namespace keldo::gui;

CMainFrame::CMainFrame(QWidget* pai)
    : QMainWindow(pai),
      dialogos(DialogosDocumento::padrao(this, Textos::janela.titulo, Textos::janela.filtros,
                                         /*simPadrao=*/false)),
      janelaDocumento(this, dialogos, Textos::janela) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(IconePrograma::icone());
    view = new CKeldoView(doc, this);
    setCentralWidget(view);
    connect(view, &CKeldoView::modificou, this, &CMainFrame::marcarModificado);

    // The strip at the top holds no buttons.
    auto* barra = addToolBar(QStringLiteral("Padrão"));
    barra->setMovable(false);
    barra->setFixedHeight(6);

    auto* ocioso = new QLabel(Textos::statusOcioso, this);
    statusBar()->addWidget(ocioso, 1);
    statusBar()->setSizeGripEnabled(false);

    montarMenus();
    janelaDocumento.ligar([this] { return podeDescartar(); },
                          [this](const QString& arquivo) { abrirArquivo(arquivo); },
                          /*qualquerLink=*/true);
    setFixedSize(655, 565);
    iniciarVazio();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::montarMenus() {
    QMenu* simulacao = menuBar()->addMenu(QStringLiteral("&Simulação"));
    abrirAcao = simulacao->addAction(QStringLiteral("&Abrir..."));
    abrirAcao->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    abrirAcao->setStatusTip(QStringLiteral("Abre um projeto de simulação existente"));
    connect(abrirAcao, &QAction::triggered, this, [this] { janelaDocumento.abrirEscolhido(); });

    salvarAcao = simulacao->addAction(QStringLiteral("&Salvar"));
    salvarAcao->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    salvarAcao->setStatusTip(QStringLiteral("Salva o projeto de simulação atual e a tabela"));
    connect(salvarAcao, &QAction::triggered, this, &CMainFrame::salvar);

    salvarComoAcao = simulacao->addAction(QStringLiteral("Salvar &Como..."));
    salvarComoAcao->setStatusTip(QStringLiteral("Salva o projeto atual com outro nome"));
    connect(salvarComoAcao, &QAction::triggered, this, &CMainFrame::salvarComo);

    simulacao->addSeparator();
    QAction* marcador = simulacao->addAction(QStringLiteral("Simulações recentes"));
    marcador->setStatusTip(QStringLiteral("Abre este projeto"));
    listaRecentes = new ArquivosRecentes(QStringLiteral("keldoge"), this);
    listaRecentes->ligarMenu(simulacao, marcador);
    connect(listaRecentes, &ArquivosRecentes::abrir, this, &CMainFrame::abrirArquivo);

    simulacao->addSeparator();
    QAction* sair = simulacao->addAction(QStringLiteral("Sai&r"));
    sair->setStatusTip(QStringLiteral("Sai da aplicação pedindo para salvar o documento atual"));
    connect(sair, &QAction::triggered, this, &QWidget::close);

    QMenu* ajuda = menuBar()->addMenu(QStringLiteral("&Ajuda"));
    QAction* hp = ajuda->addAction(QStringLiteral("Keldo HP... "));
    hp->setStatusTip(QStringLiteral("Apresenta as informações de utilização do Keldo GE"));
    connect(hp, &QAction::triggered, this, [] { Ajuda::iniciar(); });
    ajuda->addSeparator();
    sobreAcao = ajuda->addAction(QStringLiteral("&Sobre..."));
    sobreAcao->setStatusTip(QStringLiteral("Abre a caixa de diálogo sobre o Keldo GE"));
    connect(sobreAcao, &QAction::triggered, this, &CMainFrame::mostrarSobre);
}

QString CMainFrame::pastaPadrao() const {
    return PastaSimulacoes::pasta();
}

bool CMainFrame::iniciarDocumento(const QString& arquivo) {
    return arquivo.isEmpty() || abrirArquivo(arquivo);
}

void CMainFrame::iniciarVazio() {
    doc.iniciarVazio(this);
    view->inicializar(false);
    atualizarTitulo();
    atualizarAcoes();
}

bool CMainFrame::abrirArquivo(const QString& caminho) {
    if (!podeDescartar())
        return false;
    ResultadoArquivo r;
    {
        CursorEspera espera;
        r = doc.abrir(caminho);
    }
    if (!r.ok) {
        // The document, its path and its rows stay as they were.
        dialogos.avisar(r.versaoInvalida ? Textos::versaoInvalida
                                         : MensagensArquivo::texto(r, caminho));
        listaRecentes->remover(caminho);
        return false;
    }
    listaRecentes->adicionar(caminho);
    view->inicializar(true);
    atualizarTitulo();
    atualizarAcoes();
    return true;
}

bool CMainFrame::salvar() {
    const QFileInfo info(doc.caminho);
    if (doc.caminho.isEmpty() || !info.exists() || JanelaDocumento::somenteLeitura(doc.caminho))
        return salvarComo();
    return gravar(doc.caminho, false);
}

bool CMainFrame::salvarComo() {
    const QString caminho = janelaDocumento.escolherSalvar(doc.caminho, doc.titulo);
    if (caminho.isEmpty())
        return false;
    return gravar(caminho, true);
}

bool CMainFrame::gravar(const QString& caminho, bool nomePerguntado) {
    if (doc.mesmoArquivoAnterior(caminho) &&
        !dialogos.confirmar(Textos::salvarMesmoNome + QStringLiteral("\n") +
                            QDir::toNativeSeparators(caminho)))
        return false;
    ResultadoArquivo r;
    {
        CursorEspera espera;
        r = doc.salvar(caminho, view->modelo());
    }
    if (!r.ok) {
        // A failed save leaves the target as it was.
        dialogos.avisar(MensagensArquivo::texto(r, caminho));
        return false;
    }
    if (nomePerguntado) {
        doc.definirCaminho(QFileInfo(caminho).absoluteFilePath());
        listaRecentes->adicionar(caminho);
    }
    atualizarTitulo();
    atualizarAcoes();
    return true;
}

bool CMainFrame::podeDescartar() {
    return janelaDocumento.perguntarSalvar(doc.doc.arquivo().modificado(), doc.titulo,
                                           [this] { return salvar(); });
}

void CMainFrame::marcarModificado() {
    doc.doc.arquivo().marcarModificado();
}

void CMainFrame::atualizarTitulo() {
    janelaDocumento.definirTitulo(doc.titulo);
}

void CMainFrame::atualizarAcoes() {
    const bool pode = !doc.lastFilePath.isEmpty();
    salvarAcao->setEnabled(pode);
    salvarComoAcao->setEnabled(pode);
}

void CMainFrame::mostrarSobre() {
    janelaDocumento.mostrarSobre(Textos::sobre);
}

void CMainFrame::abrirSoltos(const QList<QUrl>& urls) {
    for (const QString& arquivo : JanelaDocumento::arquivosLocais(urls))
        abrirArquivo(arquivo);
}

} // namespace keldo::editor
