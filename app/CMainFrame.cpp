#include "app/CMainFrame.h"
#include "app/CGraficosDlg.h"
#include "app/CInspetor.h"
#include "app/CKeldoView.h"
#include "app/CModoApresentacao.h"
#include "app/CParametersDlg.h"
#include "app/CSementeDlg.h"
#include "app/ImagensArena.h"
#include "app/Textos.h"
#include "gui/Ajuda.h"
#include "gui/CursorEspera.h"
#include "gui/IconePrograma.h"
#include "gui/MensagensArquivo.h"
#include "io/CArchive.h"
#include "sim/ArquivoProjeto.h"
#include "sim/Versao.h"
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <random>

namespace keldo::app {

using namespace keldo::gui;
using namespace keldo::io;
using namespace keldo::sim;

namespace {

// The parameters and the defined population as a project file holds them.
std::vector<uint8_t> bytesNoArquivo(SimulationParameters parametros) {
    CArchive ar;
    int32_t numSnapshot = 0;
    std::vector<FoodX> alimentos;
    std::vector<SpecX> vivos;
    ArquivoProjeto::escreverInicio(ar, 0, 0, 0, parametros, numSnapshot, alimentos, vivos);
    return ar.bytes();
}

uint32_t sementeDoSistema() {
    std::random_device entropia; // getrandom(2) on Linux
    return static_cast<uint32_t>(entropia());
}

} // namespace

CMainFrame::CMainFrame(QWidget* pai)
    : QMainWindow(pai),
      dialogos(DialogosDocumento::padrao(this, Textos::janela.titulo, Textos::janela.filtros,
                                         /*simPadrao=*/true)),
      janelaDocumento(this, dialogos, Textos::janela), recentes(Textos::linhaComando.nome) {
    doc.definirHost(this);
    view = new CKeldoView(doc, this);
    setCentralWidget(view);
    inspetorArena = new CInspetor(doc, view);
    criarMenus();
    criarBarraStatus();

    setWindowIcon(IconePrograma::icone());

    // The view's client area is exactly the pictures' 640 × 480, so the
    // obstacles always line up with the background: the window keeps its size.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // Closing stops the run before the save question.
    janelaDocumento.ligar(
        [this] {
            pararTimer();
            return perguntarSalvar();
        },
        [this](const QString& arquivo) { abrirArquivo(arquivo); }, /*qualquerLink=*/false);

    timer.setParent(this);
    timer.setObjectName(QStringLiteral("timerExecucao"));
    timer.setTimerType(Qt::PreciseTimer);
    // A QTimer never piles up ticks behind a slow cycle: one late tick is one cycle.
    connect(&timer, &QTimer::timeout, this, [this] { doc.executarCiclo(); });
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &CMainFrame::atualizarLinhaStatus);
    atualizarTitulo();
}

CMainFrame::~CMainFrame() {
    delete janelaApresentacao;
    timer.stop();
    doc.definirHost(nullptr);
}

void CMainFrame::criarMenus() {
    QMenu* simulacao = menuBar()->addMenu(QStringLiteral("&Simulação"));
    connect(novaAcao(simulacao, QStringLiteral("&Iniciar\tCtrl+I"), "acaoIniciar",
                     QStringLiteral("Inicia a simulação"), QKeySequence(QStringLiteral("Ctrl+I"))),
            &QAction::triggered, this, &CMainFrame::iniciar);
    connect(novaAcao(simulacao, QStringLiteral("&Parar\tCtrl+P"), "acaoParar",
                     QStringLiteral("Para a simulação em andamento"),
                     QKeySequence(QStringLiteral("Ctrl+P"))),
            &QAction::triggered, this, &CMainFrame::parar);
    simulacao->addSeparator();
    connect(novaAcao(simulacao, QStringLiteral("&Novo\tCtrl+N"), "acaoNovo",
                     QStringLiteral("Cria um novo projeto de simulação"),
                     QKeySequence(QStringLiteral("Ctrl+N"))),
            &QAction::triggered, this, &CMainFrame::novo);
    // The menu promises Ctrl+A, so Ctrl+A opens a project.
    connect(novaAcao(simulacao, QStringLiteral("&Abrir...\tCtrl+A"), "acaoAbrir",
                     QStringLiteral("Abre um projeto de simulação existente"),
                     QKeySequence(QStringLiteral("Ctrl+A"))),
            &QAction::triggered, this, &CMainFrame::abrir);
    connect(novaAcao(simulacao, QStringLiteral("&Salvar\tCtrl+S"), "acaoSalvar",
                     QStringLiteral("Salva o projeto de simulação atual e a tabela"),
                     QKeySequence(QStringLiteral("Ctrl+S"))),
            &QAction::triggered, this, &CMainFrame::salvar);
    connect(novaAcao(simulacao, QStringLiteral("Salvar &Como..."), "acaoSalvarComo",
                     QStringLiteral("Salva o projeto atual com outro nome")),
            &QAction::triggered, this, &CMainFrame::salvarComo);
    simulacao->addSeparator();
    QAction* marcador = novaAcao(simulacao, QStringLiteral("Simulações recentes"), "acaoRecentes",
                                 QStringLiteral("Abre este projeto"));
    recentes.ligarMenu(simulacao, marcador);
    connect(&recentes, &ArquivosRecentes::abrir, this, &CMainFrame::abrirRecente);
    simulacao->addSeparator();
    connect(novaAcao(simulacao, QStringLiteral("Sai&r"), "acaoSair",
                     QStringLiteral("Sai da aplicação pedindo para salvar o documento atual")),
            &QAction::triggered, this, &QWidget::close);

    QMenu* configuracao = menuBar()->addMenu(QStringLiteral("&Configuração"));
    connect(novaAcao(configuracao, QStringLiteral("&Parâmetros..."), "acaoParametros",
                     QStringLiteral("Abre a caixa de parâmetros da simulação")),
            &QAction::triggered, this, &CMainFrame::parametros);

    QMenu* exibir = menuBar()->addMenu(QStringLiteral("&Exibir"));
    connect(
        novaAcao(exibir, QStringLiteral("&Gráficos\tCtrl+G"), "acaoGraficos",
                 QStringLiteral("Mostra a população e as frequências alélicas ao longo do tempo"),
                 QKeySequence(QStringLiteral("Ctrl+G"))),
        &QAction::triggered, this, &CMainFrame::graficos);
    connect(novaAcao(exibir, QStringLiteral("&Semente do mundo..."), "acaoSemente",
                     QStringLiteral("Mostra a semente deste mundo e cria o mesmo mundo de novo")),
            &QAction::triggered, this, &CMainFrame::sementeDoMundo);
    connect(novaAcao(exibir, QStringLiteral("&Modo de apresentação\tF11"), "acaoApresentacao",
                     QStringLiteral("Mostra o mundo em tela cheia, para o projetor"),
                     QKeySequence(Qt::Key_F11)),
            &QAction::triggered, this, &CMainFrame::modoApresentacao);

    QMenu* menuAjuda = menuBar()->addMenu(QStringLiteral("&Ajuda"));
    connect(novaAcao(menuAjuda, QStringLiteral("Keldo HP... "), "acaoAjuda",
                     QStringLiteral("Apresenta as informações de utilização do KELDO")),
            &QAction::triggered, this, &CMainFrame::ajuda);
    menuAjuda->addSeparator();
    connect(novaAcao(menuAjuda, QStringLiteral("&Sobre..."), "acaoSobre",
                     QStringLiteral("Abre a caixa de diálogo sobre o KELDO")),
            &QAction::triggered, this, &CMainFrame::sobre);
}

QAction* CMainFrame::novaAcao(QMenu* menu, const QString& texto, const char* nome,
                              const QString& dica, const QKeySequence& atalho) {
    QAction* a = menu->addAction(texto);
    a->setObjectName(QLatin1String(nome));
    a->setStatusTip(dica);
    if (!atalho.isEmpty()) {
        a->setShortcut(atalho);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    return a;
}

void CMainFrame::criarBarraStatus() {
    statusBar()->setSizeGripEnabled(false);
    linhaStatus = new QLabel(Textos::statusOcioso, this);
    linhaStatus->setObjectName(QStringLiteral("linhaStatus"));
    statusBar()->addWidget(linhaStatus, 1);
}

bool CMainFrame::iniciarDocumento(const QString& arquivo) {
    if (arquivo.isEmpty()) {
        novoMundo();
        return true;
    }
    return carregar(arquivo);
}

QString CMainFrame::textoStatus() const {
    return linhaStatus->text();
}

void CMainFrame::atualizarLinhaStatus() {
    doc.atualizarStatus();
}

// ---- Run loop ----------------------------------------------------------

void CMainFrame::iniciar() {
    doc.iniciarExecucao();
    iniciarTimer(intervaloTimer);
}

void CMainFrame::parar() {
    doc.pararExecucao();
    pararTimer();
}

void CMainFrame::parametros() {
    pararTimer();
    SimulationParameters parametros = doc.parametros();
    CParametersDlg dialogo(parametros, &doc, this);
    dialogo.exec();
    // The sub-dialogs write as soon as they are confirmed, so the dialog's
    // result says little: what counts is whether the file would differ.
    if (bytesNoArquivo(parametros) != bytesNoArquivo(doc.parametros()))
        doc.arquivo().marcarModificado();
    doc.definirParametros(parametros);
    if (doc.executando())
        iniciarTimer(intervaloTimer);
    view->update();
}

// ---- Projects ----------------------------------------------------------

void CMainFrame::novoMundo() {
    // A run going on goes on with the new world, so that world is a run too:
    // closing asks, and the parameters dialog and periodic saves restart it.
    const bool emExecucao = timer.isActive();
    // Two classroom PCs pressing Novo in the same second must not share a
    // world: the seed comes from the system's entropy, not the clock.
    const std::optional<uint32_t> fixa = doc.sementeFixa();
    if (!fixa)
        doc.definirSementeFixa(sementeDoSistema());
    doc.criarMundo();
    doc.definirSementeFixa(fixa);
    parametrosDoMundo = doc.parametros();
    doc.arquivo().novo();
    if (emExecucao)
        doc.iniciarExecucao();
    atualizarTitulo();
    mundoNovoNasVistas();
}

void CMainFrame::novo() {
    // A run going on keeps going: the next tick is a cycle of the new world.
    if (perguntarSalvar())
        novoMundo();
}

void CMainFrame::abrir() {
    janelaDocumento.abrirEscolhido();
}

bool CMainFrame::abrirArquivo(const QString& caminho) {
    // The project already open is not read again.
    const QString absoluto = QFileInfo(caminho).absoluteFilePath();
    if (doc.arquivo().temCaminho() && absoluto == caminhoDocumento())
        return true;
    if (!perguntarSalvar())
        return false;
    return carregar(absoluto);
}

void CMainFrame::abrirRecente(const QString& caminho) {
    const QString absoluto = QFileInfo(caminho).absoluteFilePath();
    if (doc.arquivo().temCaminho() && absoluto == caminhoDocumento())
        return;
    if (!perguntarSalvar())
        return;
    if (!carregar(absoluto))
        recentes.remover(absoluto);
}

bool CMainFrame::carregar(const QString& caminho) {
    const QString absoluto = QFileInfo(caminho).absoluteFilePath();
    const ResultadoArquivo r = doc.carregarProjeto(QFile::encodeName(absoluto).toStdString());
    if (!r.ok) {
        // The world shown stays as it was.
        janelaDocumento.avisar(MensagensArquivo::texto(r, absoluto));
        return false;
    }
    recentes.adicionar(absoluto);
    parametrosDoMundo.reset(); // the file holds today's parameters, not the world's
    atualizarTitulo();
    mundoNovoNasVistas();
    return true;
}

bool CMainFrame::salvar() {
    return salvarDocumento();
}

bool CMainFrame::salvarDocumento() {
    const QString caminho = caminhoDocumento();
    if (caminho.isEmpty() || JanelaDocumento::somenteLeitura(caminho))
        return salvarComo();
    return salvarEm(caminho);
}

bool CMainFrame::salvarComo() {
    const QString arquivo = janelaDocumento.escolherSalvar(caminhoDocumento(), tituloDocumento());
    if (arquivo.isEmpty())
        return false;
    if (!salvarEm(arquivo))
        return false;
    doc.arquivo().definirCaminho(
        QFile::encodeName(QFileInfo(arquivo).absoluteFilePath()).toStdString());
    recentes.adicionar(arquivo);
    atualizarTitulo();
    return true;
}

bool CMainFrame::salvarEm(const QString& caminho) {
    ResultadoArquivo r;
    {
        CursorEspera espera;
        r = doc.salvarProjeto(QFile::encodeName(caminho).toStdString());
    }
    if (!r.ok) {
        janelaDocumento.avisar(MensagensArquivo::texto(r, caminho));
        return false;
    }
    return true;
}

bool CMainFrame::perguntarSalvar() {
    // The simulator names a saved project by its whole path.
    const QString nome = !doc.arquivo().temCaminho() ? tituloDocumento()
                                                     : QDir::toNativeSeparators(caminhoDocumento());
    return janelaDocumento.perguntarSalvar(doc.arquivo().modificado(), nome,
                                           [this] { return salvarDocumento(); });
}

QString CMainFrame::caminhoDocumento() const {
    return QFile::decodeName(QByteArray::fromStdString(doc.arquivo().caminho()));
}

QString CMainFrame::tituloDocumento() const {
    return !doc.arquivo().temCaminho() ? Textos::janela.semNome
                                       : QFileInfo(caminhoDocumento()).fileName();
}

void CMainFrame::atualizarTitulo() {
    janelaDocumento.definirTitulo(tituloDocumento());
}

// ---- Window ------------------------------------------------------------

void CMainFrame::ajuda() {
    Ajuda::iniciar();
}

void CMainFrame::mundoNovoNasVistas() {
    if (janelaDeGraficos)
        janelaDeGraficos->mundoNovo(parametrosDoMundo);
    atualizarVistas();
}

void CMainFrame::graficos() {
    if (!janelaDeGraficos) {
        janelaDeGraficos = new CGraficosDlg(doc, this);
        // The run's commands, and F11, answer their keys in the chart window too.
        for (const char* nome :
             {"acaoIniciar", "acaoParar", "acaoSalvar", "acaoNovo", "acaoApresentacao"})
            janelaDeGraficos->addAction(findChild<QAction*>(QLatin1String(nome)));
        janelaDeGraficos->mundoNovo(parametrosDoMundo);
    }
    janelaDeGraficos->show();
    janelaDeGraficos->raise();
    janelaDeGraficos->activateWindow();
}

// The main window hides meanwhile: its view would otherwise paint, and take
// draws, between the presentation's redraws.
void CMainFrame::modoApresentacao() {
    if (janelaApresentacao)
        return;
    const bool emExecucao = timer.isActive();
    parar();
    janelaApresentacao = new CModoApresentacao(*this);
    janelaApresentacao->setAttribute(Qt::WA_DeleteOnClose);
    connect(janelaApresentacao, &CModoApresentacao::fechado, this, [this] {
        janelaApresentacao = nullptr;
        show();
        activateWindow();
    });
    hide();
    janelaApresentacao->showFullScreen();
    if (emExecucao)
        janelaApresentacao->iniciar();
}

void CMainFrame::sementeDoMundo() {
    CSementeDlg dialogo(doc.sementeMundo(), this);
    connect(&dialogo, &CSementeDlg::criarMundo, this, &CMainFrame::novoMundoComSemente);
    dialogo.exec();
}

// Like "Novo", with the given seed instead of the system's.
void CMainFrame::novoMundoComSemente(uint32_t semente) {
    if (!perguntarSalvar())
        return;
    const std::optional<uint32_t> fixa = doc.sementeFixa();
    doc.definirSementeFixa(semente);
    novoMundo();
    doc.definirSementeFixa(fixa);
}

void CMainFrame::sobre() {
    CAboutDlg::Conteudo conteudo = Textos::sobre;
    conteudo.versao = QString::fromLatin1(versaoKeldo()) + Textos::sufixoVersao;
    janelaDocumento.mostrarSobre(conteudo);
}

// ---- KeldoHost ---------------------------------------------------------

Rect CMainFrame::areaCliente() const {
    return Rect{0, 0, view->width(), view->height()};
}

void CMainFrame::definirStatus(const std::string& texto) {
    QString t = QString::fromStdString(texto);
    if (doc.geracaoParada())
        t += Textos::geracaoParada.arg(static_cast<int64_t>(doc.parametros().numIndDiscretas) -
                                       doc.ovos());
    if (linhaStatus->text() != t)
        linhaStatus->setText(t);
}

void CMainFrame::atualizarVistas() {
    if (janelaApresentacao)
        janelaApresentacao->redesenhoPedido(); // its paint, or the paint's draws
    view->update();
    if (janelaDeGraficos)
        janelaDeGraficos->atualizar();
    inspetorArena->seguir();
}

void CMainFrame::pararTimer() {
    timer.stop();
}

void CMainFrame::iniciarTimer(int milissegundos) {
    if (janelaApresentacao)
        return; // its own timer runs the world (a periodic save restarts it here)
    timer.start(milissegundos);
}

void CMainFrame::execucaoParada(const std::string& motivo) {
    parar();
    QMessageBox::warning(this, Textos::tituloAtencao, QString::fromStdString(motivo));
}

} // namespace keldo::app
