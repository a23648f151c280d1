// The editor opening every file of the damaged set (tests/data/danificados):
// one clear message each, and the rows, the title and the path stay.
#include "AcessoDocumento.h"
#include "ConjuntoDanificado.h"
#include "EditorFixture.h"
#include "TextosArquivo.h"
#include "editor/Textos.h"
#include <QFileInfo>
#include <algorithm>
#include <filesystem>

using namespace keldo::editor;
using namespace keldo::sim;

namespace {
namespace fs = std::filesystem;

bool mensagemClara(const QString& texto, const fs::path& arquivo) {
    return TextosArquivo::mensagemClara(texto, arquivo, Textos::versaoInvalida);
}
} // namespace

TEST_F(Editor, ArquivosDanificadosAvisamUmaVezEMantemLinhasTituloECaminho) {
    const QString a = abrirNovo(QStringLiteral("a.gen"), 60);
    clicarLinha(3, Qt::NoModifier);
    clicarBotao(1051); // an edit not yet saved
    const std::vector<SpecX> linhasAntes = modelo().individuos();
    const QString titulo = janela->windowTitle();
    const QString caminho = janela->documento().caminho;
    ASSERT_TRUE(janela->documento().doc.arquivo().modificado());

    paraCadaDanificado([&](const fs::path& arquivo) {
        // A file of length 0 opens as an empty document: it is not damage.
        if (fs::file_size(arquivo) == 0)
            return;
        avisos.clear();
        EXPECT_FALSE(janela->abrirArquivo(QString::fromStdString(arquivo.string())));
        ASSERT_EQ(avisos.size(), 1);
        EXPECT_TRUE(mensagemClara(avisos[0], arquivo)) << avisos[0].toStdString();

        ASSERT_EQ(linhas(), int(linhasAntes.size()));
        for (int r = 0; r < linhas(); ++r)
            ASSERT_TRUE(mesmoRegistro(linha(r), linhasAntes[size_t(r)])) << "linha " << r;
        EXPECT_EQ(janela->windowTitle(), titulo);
        EXPECT_EQ(janela->documento().caminho, caminho);
        EXPECT_EQ(janela->documento().lastFilePath, QFileInfo(a).absoluteFilePath());
        EXPECT_TRUE(janela->documento().doc.arquivo().modificado());
        EXPECT_TRUE(janela->acaoSalvar()->isEnabled());
        EXPECT_FALSE(janela->recentes()->arquivos().contains(
            QFileInfo(QString::fromStdString(arquivo.string())).absoluteFilePath()));
    });

    // The edit kept through every refusal is what Save writes, to the project
    // that was open.
    avisos.clear();
    const QByteArray antes = Projetos::ler(a);
    ASSERT_TRUE(janela->salvar());
    EXPECT_TRUE(avisos.isEmpty());
    EXPECT_NE(Projetos::ler(a), antes);
    EXPECT_FALSE(janela->documento().doc.arquivo().modificado());
    CKeldoDoc lido;
    ASSERT_TRUE(lido.carregarProjeto(a.toStdString()).ok);
    EXPECT_EQ(lido.vivos().size() + lido.mortos().size(), linhasAntes.size());
}

// The real message box: a warning with the OK button, shown once.
TEST_F(Editor, ArquivoDanificadoMostraUmaCaixaDeAviso) {
    abrirNovo(QStringLiteral("a.gen"), 20);
    janela->dialogos.avisar = padrao.avisar;
    const auto resposta = RespostaModal::registrarCaixas();
    for (const fs::path& f : conjuntoDanificado())
        if (fs::file_size(f) > 0) {
            EXPECT_FALSE(janela->abrirArquivo(QString::fromStdString(f.string())));
            break;
        }
    ASSERT_EQ(resposta->caixas.size(), 1u);
    EXPECT_EQ(resposta->caixas[0].icone, QMessageBox::Warning);
    EXPECT_FALSE(resposta->caixas[0].texto.isEmpty());
    EXPECT_EQ(linhas(), 20);
}

// A project whose food items and living individuals pass the world limit is
// refused on their counts with the framework's words, and the rows stay.
TEST_F(Editor, ProjetoAlemDoLimiteDoMundoERecusado) {
    abrirNovo(QStringLiteral("a.gen"), 20);
    const QString titulo = janela->windowTitle();
    const QString grande =
        Projetos::criar(pasta, QStringLiteral("grande.gen"), 5, [](CKeldoDoc& d) {
            AcessoDocumento::alimentosEditaveis(d).resize(CKeldoDoc::limiteMundo + 1 -
                                                          d.vivos().size());
        });
    avisos.clear();
    EXPECT_FALSE(janela->abrirArquivo(grande));
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_EQ(avisos[0].toStdString(),
              (QStringLiteral("Failed to open document.\n") + TextosArquivo::alemDoLimite(grande))
                  .toStdString());
    EXPECT_EQ(linhas(), 20);
    EXPECT_EQ(janela->windowTitle(), titulo);
}
