#pragma once
#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;

namespace keldo::gui {

// The recent-file list of a program: up to five paths, most recent first, kept
// in the program's settings and shown as a section of a menu in place of a
// placeholder item (the placeholder shows, greyed, while the list is empty).
class ArquivosRecentes : public QObject {
    Q_OBJECT
  public:
    static constexpr int maximo = 5;

    // `programa` names the settings store ("keldo", "keldoge").
    explicit ArquivosRecentes(const QString& programa, QObject* pai = nullptr);

    QStringList arquivos() const { return lista; }
    // Puts a path at the top (an existing entry moves up) and saves the list.
    void adicionar(const QString& caminho);
    // Drops a path (e.g. one that failed to open) and saves the list.
    void remover(const QString& caminho);
    // Shows the list in `menu`, in the place of `marcador`.
    void ligarMenu(QMenu* menu, QAction* marcador);
    // The actions currently shown for the entries, in list order.
    QList<QAction*> acoes() const { return acoesEntradas; }

    // Text of the menu entry at `indice` (0-based): "&1 path".
    static QString textoEntrada(int indice, const QString& caminho);

  signals:
    // An entry was chosen.
    void abrir(const QString& caminho);

  private:
    void carregar();
    void gravar() const;
    void atualizarMenu();

    QString nomePrograma;
    QStringList lista;
    QMenu* menu = nullptr;
    QAction* marcador = nullptr;
    QList<QAction*> acoesEntradas;
};

} // namespace keldo::gui
