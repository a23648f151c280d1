#include "editor/ListaIndividuos.h"
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>
#include <algorithm>

namespace keldo::editor {

namespace {

bool teclaDeMovimento(int tecla) {
    switch (tecla) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

ListaIndividuos::ListaIndividuos(QWidget* pai) : QTableView(pai) {}

// What the style asks for a cell showing `texto` (text and margins, measured
// with the same text layout that elides it), plus the grid line.
int ListaIndividuos::larguraCelula(const QString& texto) const {
    QStyleOptionViewItem opcao;
    initViewItemOption(&opcao);
    opcao.features |= QStyleOptionViewItem::HasDisplay;
    opcao.text = texto;
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &opcao, QSize(), this).width() +
           (showGrid() ? 1 : 0);
}

// Whatever a section's frame and margins take in this style, measured on a
// section wider than any title.
int ListaIndividuos::larguraTitulo(const QString& titulo) const {
    const QHeaderView* cabecalho = horizontalHeader();
    QStyleOptionHeader opcao;
    opcao.initFrom(cabecalho);
    opcao.rect = QRect(0, 0, 1000, cabecalho->height());
    opcao.text = titulo;
    const QRect rotulo = style()->subElementRect(QStyle::SE_HeaderLabel, &opcao, cabecalho);
    return cabecalho->fontMetrics().horizontalAdvance(titulo) + opcao.rect.width() - rotulo.width();
}

void ListaIndividuos::garantirLargura(int coluna, int largura) {
    if (columnWidth(coluna) < largura)
        setColumnWidth(coluna, largura);
}

QModelIndex ListaIndividuos::moveCursor(CursorAction acao, Qt::KeyboardModifiers mods) {
    const QModelIndex atual = currentIndex();
    const int n = model() ? model()->rowCount() : 0;
    if (n == 0)
        return QTableView::moveCursor(acao, mods);
    const int coluna = atual.isValid() ? atual.column() : 0;
    switch (acao) {
    case MoveHome:
        return model()->index(0, coluna);
    case MoveEnd:
        return model()->index(n - 1, coluna);
    case MoveLeft:
    case MoveRight:
        return atual;
    default:
        return QTableView::moveCursor(acao, mods & ~Qt::ControlModifier);
    }
}

// Ctrl adds nothing to a movement key: the new row is selected (or, with
// Shift, the selection grows to it), so the row the form shows is always
// one that an edit changes.
QItemSelectionModel::SelectionFlags ListaIndividuos::selectionCommand(const QModelIndex& indice,
                                                                      const QEvent* evento) const {
    if (recolhendo)
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    if (evento && evento->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<const QKeyEvent*>(evento);
        if (teclaDeMovimento(tecla->key()) && (tecla->modifiers() & Qt::ControlModifier)) {
            const QKeyEvent semCtrl(QEvent::KeyPress, tecla->key(),
                                    tecla->modifiers() & ~Qt::ControlModifier);
            return QTableView::selectionCommand(indice, &semCtrl);
        }
    }
    return QTableView::selectionCommand(indice, evento);
}

void ListaIndividuos::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_Left || evento->key() == Qt::Key_Right) {
        horizontalScrollBar()->triggerAction(evento->key() == Qt::Key_Left
                                                 ? QAbstractSlider::SliderSingleStepSub
                                                 : QAbstractSlider::SliderSingleStepAdd);
        evento->accept();
        return;
    }
    const QPersistentModelIndex antes = currentIndex();
    QTableView::keyPressEvent(evento);
    if (teclaDeMovimento(evento->key()) && !(evento->modifiers() & Qt::ShiftModifier) &&
        antes.isValid() && currentIndex() == antes) {
        // Already on the target row: the selection still becomes that row
        // alone, and the next Shift extends from it.
        recolhendo = true;
        setCurrentIndex(antes);
        recolhendo = false;
    }
}

} // namespace keldo::editor
