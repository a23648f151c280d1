#pragma once
#include "gui/CAboutDlg.h"
#include "gui/DialogosDocumento.h"
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QDragEnterEvent;
class QDropEvent;
class QWidget;

// What both main windows do with their document in the same way: the save
// question, the names chosen to open and to save, the window title, the files
// dropped on the window and the About box. The questions go through
// `dialogos`, which the window owns and tests may replace.
class JanelaDocumento {
  public:
    // `tituloPrograma` heads the window title ("<tituloPrograma>: <document>").
    JanelaDocumento(QWidget* janela, DialogosDocumento& dialogos, QString tituloPrograma);

    // A modified document is offered for saving as `nome`: Yes goes on when
    // `salvar` succeeds, No goes on, Cancel stops. True to go on.
    bool perguntarSalvar(bool modificado, const QString& nome,
                         const std::function<bool()>& salvar) const;
    // The project chosen in "Open" from the simulations folder; empty on Cancel.
    QString escolherAbrir() const;
    // The name chosen in "Save As" (with the project extension); empty on Cancel.
    QString escolherSalvar(const QString& caminho, const QString& titulo,
                           const QString& extensao) const;
    void avisar(const QString& texto) const { dialogos.avisar(texto); }
    void definirTitulo(const QString& nomeDocumento) const;
    void mostrarSobre(CAboutDlg::Conteudo conteudo) const;

    // A drag is welcome with at least one local file, or with any link when
    // `qualquerLink` (the editor has always taken those and ignored them).
    static void aceitarArrasto(QDragEnterEvent* evento, bool qualquerLink);
    // Accepts the drop and gives its local files, in the order dropped.
    static QStringList arquivosSoltos(QDropEvent* evento);
    static QStringList arquivosLocais(const QList<QUrl>& urls);

    static QString textoSalvarAlteracoes(const QString& nome);

  private:
    QWidget* janela;
    DialogosDocumento& dialogos;
    QString titulo;
};
