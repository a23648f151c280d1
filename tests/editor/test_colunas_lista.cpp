#include "AcessoDocumento.h"
#include "EditorFixture.h"
#include <QAbstractItemDelegate>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>

using namespace keldo::sim;

namespace {

// Whether a cell shows its text in full: the delegate's size hint is what the
// style's text layout needs (margins included) before it elides anything.
bool celulaCabe(QTableView* t, const QModelIndex& i) {
    QStyleOptionViewItem opcao;
    opcao.initFrom(t);
    opcao.font = t->font();
    return t->itemDelegate()->sizeHint(opcao, i).width() <= t->visualRect(i).width();
}

// Whether a header section's title fits its label rectangle: the header
// clips a title that does not (it elides nothing), so the mark goes first.
bool tituloCabe(QHeaderView* h, int secao) {
    QStyleOptionHeader opcao;
    opcao.initFrom(h);
    opcao.rect = QRect(0, 0, h->sectionSize(secao), h->height());
    opcao.text = h->model()->headerData(secao, Qt::Horizontal, Qt::DisplayRole).toString();
    const QRect rotulo = h->style()->subElementRect(QStyle::SE_HeaderLabel, &opcao, h);
    return h->fontMetrics().horizontalAdvance(opcao.text) <= rotulo.width();
}

} // namespace

TEST_F(Editor, ColunaIdMostraIdsLongosInteirosETitulosComMarcaNaoSaoCortados) {
    const int largura99999 = lista()->fontMetrics().horizontalAdvance(QStringLiteral("99999"));
    EXPECT_GT(lista()->columnWidth(0), largura99999);

    abrirNovo(QStringLiteral("a.gen"), 480, [](CKeldoDoc& d) {
        AcessoDocumento::vivosEditaveis(d)[0].id = 99999;
        AcessoDocumento::vivosEditaveis(d)[1].id = 12345678;
        AcessoDocumento::definirProximoId(d, 12345679);
    });
    for (int r : {0, 1}) {
        const QModelIndex i = modelo().index(r, 0);
        EXPECT_TRUE(celulaCabe(lista(), i)) << i.data().toString().toStdString();
    }

    QHeaderView* cabecalho = lista()->horizontalHeader();
    for (int c = 0; c < CIndividuosModel::numColunas; ++c) {
        clicarCabecalho(c);
        const QString titulo = modelo().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        ASSERT_TRUE(titulo.endsWith(QLatin1Char('^'))) << c;
        EXPECT_TRUE(tituloCabe(cabecalho, c)) << "column " << c;
    }
    // A clone past the widest id widens the column again.
    clicarBotao(1019);
    const QModelIndex clone = modelo().index(linhas() - 1, 0);
    EXPECT_EQ(clone.data().toString(), "12345679");
    EXPECT_TRUE(celulaCabe(lista(), clone));
}
