// The simulator opening every file of the damaged set (tests/data/danificados):
// one clear message each, and the world, the title and the path stay.
#include "app/CMainFrame.h"
#include "tests/ConjuntoDanificado.h"
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {
namespace fs = std::filesystem;

const QString versaoInvalida = QStringLiteral("Versão inválida do arquivo!");

// Answers every message box shown while `acao` runs, and keeps what each said.
struct Mensagem {
    QString texto;
    QString titulo;
    QMessageBox::Icon icone;
};
std::vector<Mensagem> mensagensDurante(const std::function<void()>& acao) {
    std::vector<Mensagem> vistas;
    QTimer relogio;
    relogio.setInterval(5);
    QObject::connect(&relogio, &QTimer::timeout, [&] {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caixa || !caixa->isVisible())
            return;
        vistas.push_back({caixa->text(), caixa->windowTitle(), caixa->icon()});
        caixa->done(QMessageBox::Ok);
    });
    relogio.start();
    acao();
    relogio.stop();
    return vistas;
}

// A version error, or the reader's own account of the damage.
bool mensagemClara(const QString& texto, const std::string& arquivo) {
    if (arquivo.rfind("versao_", 0) == 0)
        return texto == versaoInvalida;
    return texto.startsWith(QStringLiteral("Arquivo danificado: ")) ||
           texto.startsWith(QStringLiteral("Parâmetro inválido no arquivo: "));
}
} // namespace

TEST(ArquivosDanificados, SimuladorAvisaUmaVezEMantemMundoTituloECaminho) {
    QTemporaryDir pasta;
    const QString atual = pasta.filePath(QStringLiteral("atual.gen"));
    CKeldoDoc salvo;
    salvo.sementeFixa = 77u;
    salvo.criarMundo();
    ASSERT_TRUE(salvo.salvarProjeto(QFile::encodeName(atual).toStdString()).ok);
    CMainFrame frame;
    frame.documento().sementeFixa = 78u;
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    ASSERT_TRUE(frame.abrirArquivo(atual));
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CKeldoDoc& doc = frame.documento();
    for (int c = 0; c < 4; ++c)
        doc.executarCiclo();
    const std::vector<uint8_t> mundo = doc.serializar();
    const std::string caminho = doc.caminho;
    const QString titulo = frame.windowTitle();
    ASSERT_EQ(titulo.toStdString(), "KELDO: atual.gen");

    const std::vector<fs::path> arquivos = conjuntoDanificado();
    ASSERT_GE(arquivos.size(), 41u);
    for (const fs::path& arquivo : arquivos) {
        const std::string nome = arquivo.filename().string();
        SCOPED_TRACE(nome);
        bool aberto = true;
        const std::vector<Mensagem> vistas = mensagensDurante(
            [&] { aberto = frame.abrirArquivo(QString::fromStdString(arquivo.string())); });
        EXPECT_FALSE(aberto);
        ASSERT_EQ(vistas.size(), 1u);
        EXPECT_TRUE(mensagemClara(vistas[0].texto, nome)) << vistas[0].texto.toStdString();
        EXPECT_EQ(vistas[0].titulo.toStdString(), "KELDO");
        EXPECT_EQ(vistas[0].icone, QMessageBox::Warning);
        EXPECT_TRUE(doc.serializar() == mundo);
        EXPECT_EQ(doc.caminho, caminho);
        EXPECT_EQ(frame.windowTitle().toStdString(), titulo.toStdString());
        EXPECT_FALSE(doc.modificado);
    }
    // The world that stayed still runs.
    doc.executarCiclo();
    EXPECT_EQ(doc.tempo, 5);
}

// Named on the command line, a damaged file gives its one message and the
// program does not start.
TEST(ArquivosDanificados, SimuladorNaoIniciaComArquivoDanificado) {
    for (const fs::path& arquivo : conjuntoDanificado()) {
        SCOPED_TRACE(arquivo.filename().string());
        CMainFrame frame;
        bool iniciado = true;
        const std::vector<Mensagem> vistas = mensagensDurante(
            [&] { iniciado = frame.iniciarDocumento(QString::fromStdString(arquivo.string())); });
        EXPECT_FALSE(iniciado);
        ASSERT_EQ(vistas.size(), 1u);
        EXPECT_TRUE(mensagemClara(vistas[0].texto, arquivo.filename().string()));
    }
}
