// The document-window piece both main windows share, on a bare window with
// its questions answered through the replaceable DialogosDocumento.
#include "gui/JanelaDocumento.h"
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

using namespace keldo::gui;

namespace {

class JanelaDocumentoTeste : public ::testing::Test {
  protected:
    void SetUp() override {
        dialogos.perguntarSalvar = [this](const QString& texto) {
            perguntas << texto;
            return resposta;
        };
    }

    QWidget janela;
    DialogosDocumento dialogos;
    JanelaDocumento documento{&janela,
                              dialogos,
                              {QStringLiteral("KELDO"), QStringLiteral("Untitled"),
                               QStringLiteral("KELDO Files (*.gen)"), QStringLiteral(".gen")}};
    QStringList perguntas;
    QMessageBox::StandardButton resposta = QMessageBox::Cancel;
};

bool aceitaArrasto(QWidget& janela, const QList<QUrl>& urls) {
    QMimeData dados;
    dados.setUrls(urls);
    QDragEnterEvent entra(QPoint(1, 1), Qt::CopyAction, &dados, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&janela, &entra);
    return entra.isAccepted();
}

} // namespace

TEST_F(JanelaDocumentoTeste, PerguntaSoComModificacaoESimSoSegueSeSalvar) {
    int salvos = 0;
    bool salvou = true;
    const auto salvar = [&] {
        ++salvos;
        return salvou;
    };
    EXPECT_TRUE(documento.perguntarSalvar(false, QStringLiteral("a.gen"), salvar));
    EXPECT_TRUE(perguntas.isEmpty());

    EXPECT_FALSE(documento.perguntarSalvar(true, QStringLiteral("a.gen"), salvar));
    resposta = QMessageBox::No;
    EXPECT_TRUE(documento.perguntarSalvar(true, QStringLiteral("a.gen"), salvar));
    EXPECT_EQ(salvos, 0);
    resposta = QMessageBox::Yes;
    EXPECT_TRUE(documento.perguntarSalvar(true, QStringLiteral("a.gen"), salvar));
    salvou = false; // a failed save keeps the document open
    EXPECT_FALSE(documento.perguntarSalvar(true, QStringLiteral("a.gen"), salvar));
    EXPECT_EQ(salvos, 2);
    EXPECT_EQ(perguntas.size(), 4);
    EXPECT_EQ(perguntas.front(), QStringLiteral("Save changes to a.gen?"));

    documento.definirTitulo(QStringLiteral("a.gen"));
    EXPECT_EQ(janela.windowTitle(), QStringLiteral("KELDO: a.gen"));
}

TEST_F(JanelaDocumentoTeste, FecharPerguntaESoltarAbreOsArquivosLocaisNaOrdem) {
    bool podeFechar = false;
    QStringList abertos;
    documento.ligar([&] { return podeFechar; }, [&](const QString& arquivo) { abertos << arquivo; },
                    /*qualquerLink=*/false);
    EXPECT_TRUE(janela.acceptDrops());
    janela.show();
    EXPECT_FALSE(janela.close());
    EXPECT_TRUE(janela.isVisible());
    podeFechar = true;
    EXPECT_TRUE(janela.close());

    const QUrl link(QStringLiteral("https://exemplo.org/c.gen"));
    const QString a = QStringLiteral("/tmp/a.gen"), b = QStringLiteral("/tmp/b.gen");
    EXPECT_FALSE(aceitaArrasto(janela, {link}));
    EXPECT_TRUE(aceitaArrasto(janela, {link, QUrl::fromLocalFile(a)}));

    QMimeData dados;
    dados.setUrls({QUrl::fromLocalFile(a), link, QUrl::fromLocalFile(b)});
    QDropEvent solta(QPointF(1, 1), Qt::CopyAction, &dados, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&janela, &solta);
    EXPECT_TRUE(solta.isAccepted());
    EXPECT_EQ(abertos, (QStringList{a, b}));

    // The editor's window has always taken a drag of links alone.
    JanelaDocumento editor(&janela, dialogos, {});
    editor.ligar([] { return true; }, [](const QString&) {}, /*qualquerLink=*/true);
    EXPECT_TRUE(aceitaArrasto(janela, {link}));
}

// Read-only as the save judges it: by the mode bits, whoever runs the
// program (root's access() says yes to everything).
TEST(JanelaDocumentoArquivo, SomenteLeituraPelosBitsDeModoTambemParaRoot) {
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("p.gen"));
    EXPECT_FALSE(JanelaDocumento::somenteLeitura(arquivo)); // missing: Save creates it
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(JanelaDocumento::somenteLeitura(arquivo));
    ASSERT_TRUE(f.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    EXPECT_TRUE(JanelaDocumento::somenteLeitura(arquivo));
    const QString ligacao = pasta.filePath(QStringLiteral("ligacao.gen"));
    ASSERT_TRUE(QFile::link(arquivo, ligacao));
    EXPECT_TRUE(JanelaDocumento::somenteLeitura(ligacao)); // the file it names
    // Any write bit lets the save replace it (the owner's is enough for root or the owner).
    ASSERT_TRUE(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_FALSE(JanelaDocumento::somenteLeitura(ligacao));
    ASSERT_TRUE(f.setPermissions(QFile::ReadOwner | QFile::WriteOther));
    EXPECT_EQ(JanelaDocumento::somenteLeitura(arquivo), !QFileInfo(arquivo).isWritable());
}
