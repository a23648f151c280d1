#include "EditorFixture.h"
#include <QScrollBar>

namespace {

std::vector<int> faixa(int de, int ate) {
    std::vector<int> r;
    for (int i = de; i <= ate; ++i)
        r.push_back(i);
    return r;
}

} // namespace

class TecladoLista : public Editor {
  protected:
    void tecla(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(lista(), k, mods);
    }
    // The form shows row r (its id) and the list keeps it in view.
    void formMostra(int r, bool aVista = true) {
        EXPECT_EQ(view()->campoId()->text(), QString::number(linha(r).id)) << "row " << r;
        if (aVista) {
            EXPECT_TRUE(
                lista()->viewport()->rect().intersects(lista()->visualRect(modelo().index(r, 0))))
                << "row " << r;
        }
    }
    std::vector<int> sel() const { return view()->linhasSelecionadas(); }
};

TEST_F(TecladoLista, TeclasDeMovimentoSelecionamLinhasEShiftEstende) {
    abrirNovo();
    const int n = linhas();
    lista()->setFocus();
    clicarLinha(40, Qt::NoModifier);
    const int coluna = lista()->currentIndex().column();

    // Home/End go to the first/last row, not to the first/last column.
    tecla(Qt::Key_Home);
    EXPECT_EQ(sel(), std::vector<int>{0});
    EXPECT_EQ(lista()->currentIndex().column(), coluna);
    formMostra(0);
    tecla(Qt::Key_End);
    EXPECT_EQ(sel(), std::vector<int>{n - 1});
    formMostra(n - 1);

    // With Ctrl they select as well: the form never shows an unselected row.
    tecla(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(sel(), std::vector<int>{0});
    formMostra(0);
    tecla(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(sel(), std::vector<int>{n - 1});
    formMostra(n - 1);
    tecla(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(sel(), std::vector<int>{n - 2});
    formMostra(n - 2);
    tecla(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(sel(), std::vector<int>{n - 1});

    // PageUp/PageDown move by a page of rows.
    tecla(Qt::Key_PageUp);
    ASSERT_EQ(sel().size(), 1u);
    const int pagina = sel().front();
    EXPECT_LT(pagina, n - 2);
    formMostra(pagina);
    tecla(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(sel(), std::vector<int>{n - 1});

    // Shift extends from the anchor, also with Ctrl.
    tecla(Qt::Key_Home);
    tecla(Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(sel(), faixa(0, n - 1));
    formMostra(n - 1);
    tecla(Qt::Key_End);
    tecla(Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(sel(), faixa(0, n - 1));
    formMostra(0);
    tecla(Qt::Key_Home);
    tecla(Qt::Key_Down, Qt::ShiftModifier);
    tecla(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(sel(), faixa(0, 2));
    formMostra(2);
    tecla(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(sel(), faixa(0, 1));
    formMostra(1);
    tecla(Qt::Key_PageDown, Qt::ShiftModifier | Qt::ControlModifier);
    const int fim = sel().back();
    EXPECT_GT(fim, 2);
    EXPECT_EQ(sel(), faixa(0, fim));
    formMostra(fim);

    // Left/Right scroll the columns and leave the selection alone.
    tecla(Qt::Key_Home);
    const int antes = lista()->horizontalScrollBar()->value();
    tecla(Qt::Key_Right);
    tecla(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(sel(), std::vector<int>{0});
    EXPECT_EQ(lista()->horizontalScrollBar()->value(), antes);
}

TEST_F(TecladoLista, FormMostraSempreUmaLinhaSelecionadaQueAEdicaoMuda) {
    abrirNovo();
    // Ctrl+Home then a click on "Morto" edits the row the form shows.
    tecla(Qt::Key_Home, Qt::ControlModifier);
    ASSERT_TRUE(linha(0).vivo());
    clicarBotao(1069); // Morto
    EXPECT_FALSE(linha(0).vivo());
    EXPECT_EQ(view()->campoId()->text(), QString::number(linha(0).id));

    // Several selected: the row that became selected last is shown; a row
    // taken out of the selection with Ctrl+click is not.
    selecionar({3, 10});
    formMostra(10, false);
    clicarLinha(10, Qt::ControlModifier);
    EXPECT_EQ(sel(), std::vector<int>{3});
    formMostra(3, false);
    selecionar({3, 10, 20});
    clicarLinha(3, Qt::ControlModifier);
    EXPECT_EQ(sel(), (std::vector<int>{10, 20}));
    formMostra(20, false);
}
