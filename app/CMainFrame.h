#pragma once
#include "gui/ArquivosRecentes.h"
#include "gui/DialogosDocumento.h"
#include "gui/JanelaDocumento.h"
#include "sim/CKeldoDoc.h"
#include "sim/KeldoHost.h"
#include <QMainWindow>
#include <QTimer>

class QLabel;

namespace keldo::app {

using keldo::gui::ArquivosRecentes;
using keldo::gui::DialogosDocumento;
using keldo::gui::JanelaDocumento;
using keldo::sim::CKeldoDoc;
using keldo::sim::KeldoHost;
using keldo::sim::Rect;
using keldo::sim::SimulationParameters;

class CGraficosDlg;
class CInspetor;
class CModoApresentacao;
class CKeldoView;

// The simulator's main window: menu, single-pane status line, the arena view
// and the run timer. It is the document's host: the cycle reaches the window
// through it to write the status line, redraw, save, and stop or restart the
// timer around a periodic save.
class CMainFrame : public QMainWindow, public KeldoHost {
    Q_OBJECT
  public:
    explicit CMainFrame(QWidget* pai = nullptr);
    ~CMainFrame() override;

    // Start-up: no file gives a new world from the current parameters; a file
    // is opened as the project. False when that fails (the program then ends).
    bool iniciarDocumento(const QString& arquivo);

    CKeldoDoc& documento() { return doc; }
    CKeldoView* vista() const { return view; }
    bool timerAtivo() const { return timer.isActive(); }
    int intervaloTimerAtual() const { return timer.interval(); }
    QString textoStatus() const;

    // The commands of the menu.
    void iniciar();
    void parar();
    void novo();
    void abrir();
    // Opens a project (after the save question); false when cancelled or failed.
    bool abrirArquivo(const QString& caminho);
    bool salvar();
    bool salvarComo();
    void parametros();
    void ajuda();
    void sobre();
    // The chart window, made on first use; null until then.
    void graficos();
    CGraficosDlg* janelaGraficos() const { return janelaDeGraficos; }
    // "Semente do mundo...", and the new world it asks for (after the save question).
    void sementeDoMundo();
    void novoMundoComSemente(uint32_t semente);
    CInspetor* inspetor() const { return inspetorArena; }
    // "Modo de apresentação" (F11): the world full screen; null while closed.
    void modoApresentacao();
    CModoApresentacao* apresentacao() const { return janelaApresentacao; }

    // Writes the counters into the status line (done whenever the program is idle).
    void atualizarLinhaStatus();

    // KeldoHost
    Rect areaCliente() const override;
    void definirStatus(const std::string& texto) override;
    void atualizarVistas() override;
    void pararTimer() override;
    void iniciarTimer(int milissegundos) override;
    bool salvarDocumento() override;
    void execucaoParada(const std::string& motivo) override;

    static constexpr int intervaloTimer = 5;

    // The modal questions of the project commands; tests may replace them.
    DialogosDocumento dialogos;

  private:
    void criarMenus();
    void criarBarraStatus();
    QAction* novaAcao(QMenu* menu, const QString& texto, const char* nome, const QString& dica,
                      const QKeySequence& atalho = {});
    void novoMundo();
    // A world made or read: the views show it from its start.
    void mundoNovoNasVistas();
    bool carregar(const QString& caminho);
    void abrirRecente(const QString& caminho);
    bool salvarEm(const QString& caminho);
    // The framework's save question for a modified project; true to go on.
    bool perguntarSalvar();
    QString caminhoDocumento() const;
    QString tituloDocumento() const;
    void atualizarTitulo();

    JanelaDocumento janelaDocumento;
    CKeldoDoc doc;
    // One tick, one cycle.
    QTimer timer;
    // The arena and the windows that follow the world (the charts' made on first use).
    CKeldoView* view = nullptr;
    CGraficosDlg* janelaDeGraficos = nullptr;
    ArquivosRecentes recentes;
    CInspetor* inspetorArena = nullptr;
    CModoApresentacao* janelaApresentacao = nullptr;
    QLabel* linhaStatus = nullptr;
    // What the present world was made with; none for a world read from a project.
    std::optional<SimulationParameters> parametrosDoMundo;
};

} // namespace keldo::app
