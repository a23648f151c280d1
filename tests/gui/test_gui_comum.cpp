#include "gui/Ajuda.h"
#include "gui/ArquivosRecentes.h"
#include "gui/CAboutDlg.h"
#include "gui/LinhaComando.h"
#include "gui/MensagensArquivo.h"
#include "gui/PastaSimulacoes.h"
#include "sim/Versao.h"
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <gtest/gtest.h>
#include <optional>

using namespace keldo::gui;
using namespace keldo::sim;

TEST(GuiComum, RecentesGuardamOsCincoUltimosPrimeiroEPreenchemOMenu) {
    QTemporaryDir pasta;
    auto caminho = [&](int i) { return pasta.filePath(QStringLiteral("p%1.gen").arg(i)); };
    {
        ArquivosRecentes r(QStringLiteral("teste-recentes"));
        for (const QString& p : r.arquivos())
            r.remover(p);
        for (int i = 1; i <= 6; ++i)
            r.adicionar(caminho(i));
        r.adicionar(caminho(3)); // moves up, no duplicate
    }
    ArquivosRecentes r(QStringLiteral("teste-recentes")); // read back from the settings
    EXPECT_EQ(r.arquivos(),
              QStringList({caminho(3), caminho(6), caminho(5), caminho(4), caminho(2)}));

    QMenu menu;
    menu.addAction(QStringLiteral("Salvar"));
    QAction* marcador = menu.addAction(QStringLiteral("Simulações recentes"));
    QAction* sair = menu.addAction(QStringLiteral("Sair"));
    r.ligarMenu(&menu, marcador);
    const QList<QAction*> acoes = menu.actions();
    ASSERT_EQ(acoes.size(), 8);
    EXPECT_EQ(acoes[1]->text(), ArquivosRecentes::textoEntrada(0, caminho(3)));
    EXPECT_TRUE(acoes[1]->text().startsWith(QStringLiteral("&1 ")));
    EXPECT_EQ(acoes[6], marcador);
    EXPECT_FALSE(marcador->isVisible());
    EXPECT_EQ(acoes[7], sair);

    QSignalSpy aberto(&r, &ArquivosRecentes::abrir);
    acoes[2]->trigger();
    ASSERT_EQ(aberto.size(), 1);
    EXPECT_EQ(aberto[0][0].toString(), caminho(6));

    for (const QString& p : r.arquivos())
        r.remover(p);
    EXPECT_EQ(menu.actions().size(), 3);
    EXPECT_TRUE(marcador->isVisible());
    EXPECT_FALSE(marcador->isEnabled());
}

TEST(GuiComum, CaixaSobreMostraNomeVersaoCreditosEAbreOManual) {
    CAboutDlg::Conteudo c;
    c.titulo = QStringLiteral("Sobre o Keldo GE");
    c.nome = QStringLiteral("Keldo GE");
    c.versao = QStringLiteral("1.1.130 b");
    c.credito1 = QStringLiteral("um");
    c.credito2 = QStringLiteral("dois");
    CAboutDlg dlg(c);
    int aberto = 0;
    dlg.abrirManual = [&] {
        ++aberto;
        return true;
    };
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Sobre o Keldo GE");
    EXPECT_EQ(dlg.rotuloVersao()->text(), QStringLiteral("Keldo GE Versão"));
    EXPECT_EQ(dlg.textoVersao()->text(), "1.1.130 b");
    EXPECT_FALSE(dlg.rotuloManual()->text().contains(QStringLiteral("http"))); // no made-up site
    EXPECT_TRUE(dlg.rotuloManual()->text().contains(QStringLiteral("Manual do KELDO")));
    emit dlg.rotuloManual()->linkActivated(QStringLiteral("manual"));
    EXPECT_EQ(aberto, 1);
    QTest::mouseClick(dlg.botaoOk(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(GuiComum, LinhaDeComandoAjudaVersaoArquivoEErroDeUso) {
    LinhaComando linha({QStringLiteral("keldoge"), QStringLiteral("Edita projetos."),
                        QStringLiteral("PROJETO.gen"), QStringLiteral("projeto a abrir")});
    struct Caso {
        QStringList argumentos;
        std::optional<int> status;
        QString arquivo;
    };
    const Caso casos[] = {
        {{"keldoge"}, std::nullopt, {}},
        {{"keldoge", "a.gen"}, std::nullopt, "a.gen"},
        {{"keldoge", "--", "--help"}, std::nullopt, "--help"}, // a file named like an option
        {{"keldoge", "--help", "a.gen"}, 0, {}},
        {{"keldoge", "-v"}, 0, {}},
        {{"keldoge", "--versao"}, 2, {}},
        {{"keldoge", "-x", "a.gen"}, 2, {}},
        {{"keldoge", "a.gen", "b.gen"}, 2, {}},
    };
    for (const Caso& c : casos) {
        QString saida;
        QString erros;
        EXPECT_EQ(linha.analisar(c.argumentos, saida, erros), c.status)
            << c.argumentos.join(' ').toStdString();
        EXPECT_EQ(linha.arquivo(), c.arquivo);
        EXPECT_EQ(erros.isEmpty(), c.status != 2) << erros.toStdString();
        EXPECT_EQ(saida.isEmpty(), c.status != 0);
        if (c.status == 2) {
            EXPECT_TRUE(erros.startsWith("keldoge: ") && erros.contains(linha.uso()))
                << erros.toStdString();
        }
    }

    QString saida, erros;
    linha.analisar({"keldoge", "--version"}, saida, erros);
    EXPECT_EQ(saida, QStringLiteral("keldoge %1\n").arg(versaoKeldo()));
    saida.clear();
    linha.analisar({"keldoge", "-h"}, saida, erros);
    EXPECT_TRUE(saida.startsWith("Uso: keldoge [opções] [PROJETO.gen]\n")) << saida.toStdString();
    for (const char* texto : {"--help", "--version", "Edita projetos.", "projeto a abrir"})
        EXPECT_TRUE(saida.contains(QString::fromUtf8(texto))) << texto;
    erros.clear();
    linha.analisar({"keldoge", "--bobagem"}, saida, erros);
    EXPECT_TRUE(erros.startsWith("keldoge: opção desconhecida: --bobagem\n"))
        << erros.toStdString();
}

TEST(GuiComum, PastaPadraoAoLadoDoProgramaSenaoEmDocumentos) {
    QTemporaryDir programa;
    EXPECT_EQ(PastaSimulacoes::pasta(programa.path()),
              QDir(programa.path()).filePath(QStringLiteral("Simulações")));
    EXPECT_TRUE(QDir(programa.filePath(QStringLiteral("Simulações"))).exists());

    // A program "folder" that is a file: nothing can be made beside it.
    const QString arquivo = programa.filePath(QStringLiteral("bloqueio"));
    QFile(arquivo).open(QIODevice::WriteOnly);
    const QString alternativa = PastaSimulacoes::pasta(arquivo);
    EXPECT_FALSE(alternativa.startsWith(arquivo));
    EXPECT_TRUE(alternativa.endsWith(QStringLiteral("/Simulações")));
}

// An installed program (run as root too) makes no folder beside itself,
// which the package's removal would leave behind; the user's documents
// folder serves instead.
TEST(GuiComum, ProgramaInstaladoNaoCriaPastaAoLadoDeSi) {
    QTemporaryDir programa;
    EXPECT_TRUE(PastaSimulacoes::aoLadoDoPrograma(programa.path()));
    for (const char* sistema : {"/usr/bin", "/usr/local/bin", "/usr", "/bin", "/opt"}) {
        if (QFileInfo(QString::fromLatin1(sistema)).isDir()) {
            EXPECT_FALSE(PastaSimulacoes::aoLadoDoPrograma(QString::fromLatin1(sistema)))
                << sistema;
        }
    }
    // Judged where the folder really lies.
    const QString ligacao = programa.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/usr/bin"), ligacao));
    EXPECT_FALSE(PastaSimulacoes::aoLadoDoPrograma(ligacao));
    // A folder without any write bit is not the program's own to fill, even for root.
    const QString fechada = programa.filePath(QStringLiteral("fechada"));
    ASSERT_TRUE(QDir().mkdir(fechada));
    ASSERT_TRUE(QFile::setPermissions(fechada, QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_FALSE(PastaSimulacoes::aoLadoDoPrograma(fechada));
    EXPECT_FALSE(PastaSimulacoes::pasta(fechada).startsWith(fechada));
    QFile::setPermissions(fechada, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString aoLado = QStringLiteral("/usr/bin/Simulações");
    const bool existia = QFileInfo::exists(aoLado);
    const QString escolhida = PastaSimulacoes::pasta(QStringLiteral("/usr/bin"));
    const bool criada = !existia && QFileInfo::exists(aoLado);
    if (criada)
        QDir().rmdir(aoLado);
    EXPECT_FALSE(criada);
    EXPECT_FALSE(escolhida.startsWith(QStringLiteral("/usr/")));
    EXPECT_TRUE(escolhida.endsWith(QStringLiteral("/Simulações")));
}

TEST(GuiComum, NomePropostoParaSalvarCortaOTituloEUsaAPastaPadrao) {
    using PastaSimulacoes::nomeProposto;
    EXPECT_EQ(nomeProposto({}, QStringLiteral("Untitled"), ".GEN", "/x/Sim"),
              "/x/Sim/Untitled.GEN");
    EXPECT_EQ(nomeProposto({}, QStringLiteral("meu projeto"), ".gen", "/x"), "/x/meu.gen");
    EXPECT_EQ(nomeProposto({}, QStringLiteral("a#b;c"), ".gen", "/x"), "/x/a.gen");
    EXPECT_EQ(nomeProposto("/p/q.gen", QStringLiteral("q.gen"), ".gen", "/x"), "/p/q.gen");
}

TEST(GuiComum, ProgramaDeAjudaProcuradoPrimeiroAoLadoDoPrograma) {
    QTemporaryDir programa;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray("/nonexistent"));
    EXPECT_TRUE(Ajuda::localizar(programa.path()).isEmpty());
    const QString ajuda = programa.filePath(QStringLiteral("KeldoHP"));
    QFile f(ajuda);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(Ajuda::localizar(programa.path()), ajuda);
    qputenv("PATH", path);
}

// A save that failed after the world was written says where the new content is.
TEST(GuiComum, FalhaAoSalvarNomeiaOndeOProjetoFicou) {
    ResultadoArquivo r;
    r.ok = false;
    r.falha = FalhaArquivo::salvar;
    r.erroSistema = EBUSY;
    EXPECT_EQ(MensagensArquivo::texto(r, QStringLiteral("/x/p.gen")),
              QStringLiteral("Failed to save document.\n/x/p.gen: Device or resource busy."));
    r.mantido = "/x/p.gen.novo-AbC123";
    EXPECT_EQ(MensagensArquivo::texto(r, QStringLiteral("/x/p.gen")),
              QStringLiteral("Failed to save document.\n/x/p.gen: Device or resource busy.\nThe "
                             "document was saved as /x/p.gen.novo-AbC123."));
}
