#pragma once
#include "editor/DocumentoEditor.h"
#include "gui/DialogosDocumento.h"
#include "gui/JanelaDocumento.h"
#include "sim/KeldoHost.h"
#include <QMainWindow>
#include <QUrl>

class QAction;
class QLabel;
namespace keldo::gui {
class ArquivosRecentes;
} // namespace keldo::gui

namespace keldo::editor {

using keldo::gui::ArquivosRecentes;
using keldo::gui::DialogosDocumento;
using keldo::gui::JanelaDocumento;
using keldo::sim::KeldoHost;
using keldo::sim::Rect;

class CKeldoView;

// The editor's main window: the form with the list, the Simulação and Ajuda
// menus, and the open and save rules of the editor's document.
class CMainFrame : public QMainWindow, public KeldoHost {
    Q_OBJECT
  public:
    // The modal questions the window asks; tests replace them.
    using Dialogos = DialogosDocumento;

    explicit CMainFrame(QWidget* pai = nullptr);
    ~CMainFrame() override;

    // Start-up: the empty document, or the project named on the command line;
    // false when that cannot be opened (the program then ends).
    bool iniciarDocumento(const QString& arquivo);
    // The empty document of start-up: no rows, form disabled, Save greyed.
    void iniciarVazio();
    // Opens a project (after offering to save a modified one). On failure the
    // message is shown and the document, its path and rows stay as they were.
    bool abrirArquivo(const QString& caminho);
    bool salvar();
    bool salvarComo();
    // Files dropped on the window, opened one after the other (the last one stays).
    void abrirSoltos(const QList<QUrl>& urls);
    // Offers to save a modified document; false when the user cancels.
    bool podeDescartar();

    // KeldoHost: the arena of the picture space; no images; the save command.
    Rect areaCliente() const override { return Rect{0, 0, 640, 480}; }
    bool registraImagens() const override { return false; }
    bool salvarDocumento() override { return salvar(); }

    DocumentoEditor& documento() { return doc; }
    CKeldoView* vista() const { return view; }
    ArquivosRecentes* recentes() const { return listaRecentes; }
    QAction* acaoAbrir() const { return abrirAcao; }
    QAction* acaoSalvar() const { return salvarAcao; }
    QAction* acaoSalvarComo() const { return salvarComoAcao; }
    QAction* acaoSobre() const { return sobreAcao; }
    QString pastaPadrao() const;

    Dialogos dialogos;

  private:
    void montarMenus();
    bool gravar(const QString& caminho, bool nomePerguntado);
    void atualizarTitulo();
    void atualizarAcoes();
    void marcarModificado();
    void mostrarSobre();

    // The commands that tests reach and that follow the document's state.
    QAction* abrirAcao = nullptr;
    QAction* salvarAcao = nullptr;
    QAction* salvarComoAcao = nullptr;
    QAction* sobreAcao = nullptr;
    CKeldoView* view = nullptr;
    ArquivosRecentes* listaRecentes = nullptr;
    DocumentoEditor doc;
    JanelaDocumento janelaDocumento;
};

} // namespace keldo::editor
