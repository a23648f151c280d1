#pragma once
#include "gui/CAboutDlg.h"
#include "gui/DialogosDocumento.h"
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QDragEnterEvent;
class QDropEvent;
class QEvent;
class QWidget;

namespace keldo::gui {

// A program's texts of its document window.
struct TextosJanela {
    QString titulo;   // heads the window title ("<titulo>: <document>") and the message boxes
    QString semNome;  // the document without a file ("Untitled")
    QString filtros;  // of the file dialogs
    QString extensao; // given to the name proposed by "Save As"
};

// What both main windows do with their document in the same way: the save
// question, the names chosen to open and to save, the window title, the files
// dropped on the window, its close and the About box. The questions go
// through `dialogos`, which the window owns and tests may replace.
class JanelaDocumento : public QObject {
  public:
    JanelaDocumento(QWidget* janela, DialogosDocumento& dialogos, TextosJanela textos);

    // A modified document is offered for saving as `nome`: Yes goes on when
    // `salvar` succeeds, No goes on, Cancel stops. True to go on.
    bool perguntarSalvar(bool modificado, const QString& nome,
                         const std::function<bool()>& salvar) const;
    // "Abrir...": the project chosen from the simulations folder goes to the
    // window's `abrir` (nothing on Cancel).
    void abrirEscolhido() const;
    // The name chosen in "Save As" (with the project extension); empty on Cancel.
    QString escolherSalvar(const QString& caminho, const QString& tituloDocumento) const;
    void avisar(const QString& texto) const { dialogos.avisar(texto); }
    void definirTitulo(const QString& nomeDocumento) const;
    void mostrarSobre(CAboutDlg::Conteudo conteudo) const;

    // Takes the window's close and drops: a close goes on when `podeFechar`
    // says so; the local files dropped go to `abrir` one after the other (the
    // last one stays open). A drag is welcome with a local file, or with any
    // link when `qualquerLink` (the editor has always taken those and
    // ignored them on the drop).
    void ligar(std::function<bool()> podeFechar, std::function<void(const QString&)> abrir,
               bool qualquerLink);

    // The local files among `urls`, in their order.
    static QStringList arquivosLocais(const QList<QUrl>& urls);

    static QString textoSalvarAlteracoes(const QString& nome);

    // Whether "Save" must ask for another name: an existing regular file with
    // no write bit at all, which the save refuses whoever runs it (root
    // included), or a file this user may not write.
    static bool somenteLeitura(const QString& caminho);

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    void aceitarArrasto(QDragEnterEvent* evento) const;
    void soltar(QDropEvent* evento) const;

    QWidget* janela;
    DialogosDocumento& dialogos;
    TextosJanela textos;
    std::function<bool()> podeFechar;
    std::function<void(const QString&)> abrir;
    bool qualquerLink = false;
};

} // namespace keldo::gui
