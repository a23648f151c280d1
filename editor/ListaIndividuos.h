#pragma once
#include <QTableView>

namespace keldo::editor {

// The editor's list of individuals, keyed like a report list: Home, End,
// PageUp, PageDown and the up/down arrows move the selection by rows, with or
// without Ctrl; Shift extends it from the anchor; left/right scroll the columns.
class ListaIndividuos : public QTableView {
    Q_OBJECT
  public:
    explicit ListaIndividuos(QWidget* pai = nullptr);

    // Width a column needs to show `texto` in a cell, or as its title, in full.
    int larguraCelula(const QString& texto) const;
    int larguraTitulo(const QString& titulo) const;
    // Widens a column to `largura` (never narrows it).
    void garantirLargura(int coluna, int largura);

  protected:
    QModelIndex moveCursor(CursorAction acao, Qt::KeyboardModifiers mods) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& indice,
                                                         const QEvent* evento) const override;
    void keyPressEvent(QKeyEvent* evento) override;

  private:
    bool recolhendo = false;
};

} // namespace keldo::editor
