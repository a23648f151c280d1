// The simulator opening every file of the damaged set (tests/data/danificados):
// one clear message each, and the world, the title and the path stay.
#include "AcessoDocumento.h"
#include "ConjuntoDanificado.h"
#include "RespostaModal.h"
#include "TextosArquivo.h"
#include "app/CMainFrame.h"
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using namespace keldo::gui;
using namespace keldo::model;
using namespace keldo::sim;
using namespace keldo::app;

namespace {
namespace fs = std::filesystem;

const QString versaoInvalida = QStringLiteral("Versão inválida do arquivo!");

// Answers every message box shown while `acao` runs, and keeps what each said.
using Mensagem = RespostaModal::Caixa;
std::vector<Mensagem> mensagensDurante(const std::function<void()>& acao) {
    const auto resposta = RespostaModal::registrarCaixas();
    acao();
    return resposta->caixas;
}

bool mensagemClara(const QString& texto, const fs::path& arquivo) {
    return TextosArquivo::mensagemClara(texto, arquivo, versaoInvalida);
}
} // namespace

TEST(ArquivosDanificados, SimuladorAvisaUmaVezEMantemMundoTituloECaminho) {
    QTemporaryDir pasta;
    const QString atual = pasta.filePath(QStringLiteral("atual.gen"));
    CKeldoDoc salvo;
    salvo.definirSementeFixa(77u);
    salvo.criarMundo();
    ASSERT_TRUE(salvo.salvarProjeto(QFile::encodeName(atual).toStdString()).ok);
    CMainFrame frame;
    frame.documento().definirSementeFixa(78u);
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    ASSERT_TRUE(frame.abrirArquivo(atual));
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CKeldoDoc& doc = frame.documento();
    for (int c = 0; c < 4; ++c)
        doc.executarCiclo();
    const std::vector<uint8_t> mundo = doc.serializar();
    const std::string caminho = doc.arquivo().caminho();
    const QString titulo = frame.windowTitle();
    ASSERT_EQ(titulo.toStdString(), "KELDO: atual.gen");

    paraCadaDanificado([&](const fs::path& arquivo) {
        bool aberto = true;
        const std::vector<Mensagem> vistas = mensagensDurante(
            [&] { aberto = frame.abrirArquivo(QString::fromStdString(arquivo.string())); });
        EXPECT_FALSE(aberto);
        ASSERT_EQ(vistas.size(), 1u);
        EXPECT_TRUE(mensagemClara(vistas[0].texto, arquivo)) << vistas[0].texto.toStdString();
        EXPECT_EQ(vistas[0].titulo.toStdString(), "KELDO");
        EXPECT_EQ(vistas[0].icone, QMessageBox::Warning);
        EXPECT_TRUE(doc.serializar() == mundo);
        EXPECT_EQ(doc.arquivo().caminho(), caminho);
        EXPECT_EQ(frame.windowTitle().toStdString(), titulo.toStdString());
        EXPECT_FALSE(doc.arquivo().modificado());
    });
    // The world that stayed still runs.
    doc.executarCiclo();
    EXPECT_EQ(doc.tempo(), 5);
}

// Named on the command line, a damaged file gives its one message and the
// program does not start.
TEST(ArquivosDanificados, SimuladorNaoIniciaComArquivoDanificado) {
    paraCadaDanificado([](const fs::path& arquivo) {
        CMainFrame frame;
        bool iniciado = true;
        const std::vector<Mensagem> vistas = mensagensDurante(
            [&] { iniciado = frame.iniciarDocumento(QString::fromStdString(arquivo.string())); });
        EXPECT_FALSE(iniciado);
        ASSERT_EQ(vistas.size(), 1u);
        EXPECT_TRUE(mensagemClara(vistas[0].texto, arquivo)) << vistas[0].texto.toStdString();
    });
}

// A project whose food items and living individuals pass the world limit is
// refused on their counts with the framework's words; the world shown stays.
TEST(ArquivosDanificados, SimuladorRecusaProjetoAlemDoLimiteDoMundo) {
    QTemporaryDir pasta;
    const QString grande = pasta.filePath(QStringLiteral("grande.gen"));
    CKeldoDoc alem;
    alem.definirSementeFixa(5u);
    alem.criarMundo();
    AcessoDocumento::alimentosEditaveis(alem).resize(CKeldoDoc::limiteMundo + 1 -
                                                     alem.vivos().size());
    // The bytes themselves: a save refuses a world past the limit.
    const std::vector<uint8_t> bytes = alem.serializar();
    QFile f(grande);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())),
        static_cast<qint64>(bytes.size()));
    f.close();
    CMainFrame frame;
    frame.documento().definirSementeFixa(78u);
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    const std::vector<uint8_t> mundo = frame.documento().serializar();
    const QString titulo = frame.windowTitle();

    bool aberto = true;
    const std::vector<Mensagem> vistas =
        mensagensDurante([&] { aberto = frame.abrirArquivo(grande); });
    EXPECT_FALSE(aberto);
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].texto.toStdString(),
              (QStringLiteral("Failed to open document.\n") + TextosArquivo::alemDoLimite(grande))
                  .toStdString());
    EXPECT_EQ(vistas[0].icone, QMessageBox::Warning);
    EXPECT_TRUE(frame.documento().serializar() == mundo);
    EXPECT_EQ(frame.windowTitle().toStdString(), titulo.toStdString());
}

// Open and save failures name the file and give the system's reason, in the
// framework's English words, as the editor does.
TEST(MensagensDeArquivo, SimuladorDizArquivoERazao) {
    QTemporaryDir pasta;
    CMainFrame frame;
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    const QString falta = pasta.filePath(QStringLiteral("falta.gen"));
    std::vector<Mensagem> vistas =
        mensagensDurante([&] { EXPECT_FALSE(frame.abrirArquivo(falta)); });
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].texto.toStdString(),
              TextosArquivo::falhaAbrir(falta, QStringLiteral("No such file or directory"))
                  .toStdString());

    const QString semPasta = pasta.filePath(QStringLiteral("nao/existe.gen"));
    frame.documento().arquivo().definirCaminho(QFile::encodeName(semPasta).toStdString());
    vistas = mensagensDurante([&] { EXPECT_FALSE(frame.salvar()); });
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].texto.toStdString(),
              TextosArquivo::falhaSalvar(semPasta, QStringLiteral("No such file or directory"))
                  .toStdString());
    EXPECT_EQ(vistas[0].titulo.toStdString(), "KELDO");
}

// "Salvar Como" with a name typed without an extension: the dialog adds
// ".gen" before it checks for a file to replace, so an existing project of
// that name is never replaced without the question; a new name is saved
// with ".gen".
TEST(SalvarComo, SimuladorAcrescentaGenEPerguntaAntesDeSubstituir) {
    QTemporaryDir pasta;
    const QString existente = pasta.filePath(QStringLiteral("semext.gen"));
    {
        QFile f(existente);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("antigo");
    }
    CMainFrame frame;
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));

    QString nome;
    int dialogos = 0;
    const auto resposta = RespostaModal::registrarCaixas(QMessageBox::No, [&](QWidget* janela) {
        auto* d = qobject_cast<QFileDialog*>(janela);
        if (!d || !d->isVisible())
            return;
        if (dialogos++ % 2 == 1) {
            d->reject(); // after the question: give up
            return;
        }
        d->selectFile(pasta.filePath(nome));
        QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
    });
    nome = QStringLiteral("semext");
    EXPECT_FALSE(frame.salvarComo());
    ASSERT_EQ(resposta->caixas.size(), 1u);
    const QString pergunta = resposta->caixas[0].texto;
    EXPECT_TRUE(pergunta.contains(QStringLiteral("semext.gen"))) << pergunta.toStdString();
    QFile antigo(existente);
    ASSERT_TRUE(antigo.open(QIODevice::ReadOnly));
    EXPECT_EQ(antigo.readAll(), QByteArray("antigo"));

    nome = QStringLiteral("novo");
    dialogos = 0;
    EXPECT_TRUE(frame.salvarComo());
    EXPECT_EQ(resposta->caixas.size(), 1u);
    EXPECT_TRUE(QFileInfo::exists(pasta.filePath(QStringLiteral("novo.gen"))));
    EXPECT_FALSE(QFileInfo::exists(pasta.filePath(QStringLiteral("novo"))));
    EXPECT_EQ(frame.windowTitle().toStdString(), "KELDO: novo.gen");
}
