// The world's seed: shown, the same world made again, and the same world
// that keldo-run --seed makes from the same parameters.
#include "AcessoDocumento.h"
#include "LacoEventos.h"
#include "app/CMainFrame.h"
#include "app/CSementeDlg.h"
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

using namespace keldo::gui;
using namespace keldo::model;
using namespace keldo::sim;
using namespace keldo::app;

namespace {
void esperarMesmosVivos(const std::vector<SpecX>& a, const std::vector<SpecX>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t k = 0; k < a.size(); ++k) {
        EXPECT_EQ(a[k].id, b[k].id) << k;
        EXPECT_EQ(a[k].x, b[k].x) << k;
        EXPECT_EQ(a[k].y, b[k].y) << k;
        EXPECT_EQ(a[k].genotipoP, b[k].genotipoP) << k;
        EXPECT_EQ(a[k].genotipoM, b[k].genotipoM) << k;
        EXPECT_EQ(a[k].estado, b[k].estado) << k;
        EXPECT_EQ(a[k].energia, b[k].energia) << k;
        EXPECT_EQ(a[k].dirX, b[k].dirX) << k;
    }
}

// The world keldo-run makes with this seed and these settings, read back from its save.
void mundoDoKeldoRun(CKeldoDoc& lido, uint32_t semente, const QStringList& definicoes) {
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("m.gen"));
    QStringList args = {QStringLiteral("--seed"),   QString::number(semente),
                        QStringLiteral("--cycles"), QStringLiteral("0"),
                        QStringLiteral("--save"),   arquivo};
    for (const QString& d : definicoes)
        args << QStringLiteral("--set") << d;
    QProcess run;
    run.setWorkingDirectory(pasta.path());
    run.start(QStringLiteral(KELDO_RUN_PATH), args);
    ASSERT_TRUE(run.waitForFinished(30000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    ASSERT_TRUE(lido.carregarProjeto(arquivo.toStdString()).ok);
}
} // namespace

TEST(SementeDoMundo, MesmoMundoDeNovoEOMundoDoKeldoRun) {
    CMainFrame frame;
    CKeldoDoc& doc = frame.documento();
    doc.definirSementeFixa(4242u);
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    doc.definirSementeFixa(std::nullopt);
    ASSERT_EQ(doc.sementeMundo(), 4242u);
    AcessoDocumento::parametrosEditaveis(doc).numIndividuos = 40;
    AcessoDocumento::parametrosEditaveis(doc).qtdAlimento = 30;
    const std::vector<SpecX> primeiro = doc.vivos();
    for (int c = 0; c < 20; ++c)
        doc.executarCiclo();

    {
        CSementeDlg dialogo(doc.sementeMundo(), &frame);
        QObject::connect(&dialogo, &CSementeDlg::criarMundo, &frame,
                         &CMainFrame::novoMundoComSemente);
        EXPECT_TRUE(dialogo.findChild<QLabel*>(QStringLiteral("textoSemente"))
                        ->text()
                        .contains(QStringLiteral("semente 4242")));
        EXPECT_EQ(dialogo.findChild<QLineEdit*>(QStringLiteral("campoSemente"))->text(),
                  QStringLiteral("4242"));
        doc.arquivo().marcarSalvo();
        QTest::mouseClick(dialogo.findChild<QPushButton*>(QStringLiteral("botaoMesmoMundo")),
                          Qt::LeftButton);
    }
    // The same seed with the parameters now in force: 40 individuals and 30 food items.
    EXPECT_EQ(doc.tempo(), 0);
    EXPECT_EQ(doc.sementeMundo(), 4242u);
    EXPECT_FALSE(doc.sementeFixa().has_value()); // "Novo" goes back to the clock
    ASSERT_EQ(doc.vivos().size(), 40u);
    CKeldoDoc doRun;
    mundoDoKeldoRun(doRun, 4242u,
                    {QStringLiteral("numIndividuos=40"), QStringLiteral("qtdAlimento=30")});
    esperarMesmosVivos(doc.vivos(), doRun.vivos());
    EXPECT_EQ(doc.alimentos().size(), doRun.alimentos().size());

    // A typed seed; a loaded world has no known seed.
    CSementeDlg outro(doc.sementeMundo(), &frame);
    QObject::connect(&outro, &CSementeDlg::criarMundo, &frame, &CMainFrame::novoMundoComSemente);
    auto* campo = outro.findChild<QLineEdit*>(QStringLiteral("campoSemente"));
    auto* criar = outro.findChild<QPushButton*>(QStringLiteral("botaoCriarComSemente"));
    campo->setText(QStringLiteral("4294967296"));
    EXPECT_FALSE(criar->isEnabled());
    campo->setText(QStringLiteral("99"));
    doc.arquivo().marcarSalvo();
    QTest::mouseClick(criar, Qt::LeftButton);
    EXPECT_EQ(doc.sementeMundo(), 99u);
    CKeldoDoc doRun99;
    mundoDoKeldoRun(doRun99, 99u,
                    {QStringLiteral("numIndividuos=40"), QStringLiteral("qtdAlimento=30")});
    esperarMesmosVivos(doc.vivos(), doRun99.vivos());
    EXPECT_FALSE(doRun99.sementeMundo().has_value());
    CSementeDlg desconhecida(doRun99.sementeMundo(), &frame);
    EXPECT_FALSE(
        desconhecida.findChild<QPushButton*>(QStringLiteral("botaoMesmoMundo"))->isEnabled());
    EXPECT_EQ(frame.findChild<QAction*>(QStringLiteral("acaoSemente"))->text(),
              QStringLiteral("&Semente do mundo..."));
    (void)primeiro;
    doc.arquivo().marcarSalvo();
}

// Both of the dialog's new worlds made during a run go on as that run, as
// "Novo" does: running, and modified so that closing asks.
TEST(SementeDoMundo, MundoDaSementeDuranteExecucaoSegueEmExecucao) {
    CMainFrame frame;
    CKeldoDoc& doc = frame.documento();
    doc.definirSementeFixa(4242u);
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    doc.definirSementeFixa(std::nullopt);
    frame.dialogos.perguntarSalvar = [](const QString&) { return QMessageBox::No; };
    frame.iniciar();
    for (const char* botao : {"botaoMesmoMundo", "botaoCriarComSemente"}) {
        ASSERT_TRUE(esperarAte([&doc] { return doc.tempo() >= 3; })) << botao;
        CSementeDlg dialogo(doc.sementeMundo(), &frame);
        QObject::connect(&dialogo, &CSementeDlg::criarMundo, &frame,
                         &CMainFrame::novoMundoComSemente);
        dialogo.findChild<QLineEdit*>(QStringLiteral("campoSemente"))->setText("77");
        QTest::mouseClick(dialogo.findChild<QPushButton*>(QLatin1String(botao)), Qt::LeftButton);
        EXPECT_LT(doc.tempo(), 3) << botao;
        EXPECT_EQ(AcessoDocumento::estadoExecucao(doc), EstadoExecucao::executando) << botao;
        EXPECT_TRUE(doc.arquivo().modificado()) << botao;
        EXPECT_TRUE(frame.timerAtivo()) << botao;
    }
    EXPECT_EQ(doc.sementeMundo(), 77u);
    frame.parar();
    doc.arquivo().marcarSalvo();
}

// Lab PCs pressing Novo in the same second get different worlds: the seed
// comes from the system's entropy, and the seed dialog shows it.
TEST(SementeDoMundo, DoisNovoNoMesmoSegundoDiferem) {
    CMainFrame frame;
    CKeldoDoc& doc = frame.documento();
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    ASSERT_FALSE(doc.sementeFixa().has_value());
    std::set<uint32_t> sementes = {*doc.sementeMundo()};
    for (int k = 0; k < 4; ++k) {
        frame.novo();
        ASSERT_TRUE(doc.sementeMundo().has_value());
        sementes.insert(*doc.sementeMundo());
    }
    EXPECT_EQ(sementes.size(), 5u); // five in well under a second
    EXPECT_FALSE(doc.sementeFixa().has_value());
    CSementeDlg dialogo(doc.sementeMundo());
    EXPECT_TRUE(dialogo.findChild<QLabel*>(QStringLiteral("textoSemente"))
                    ->text()
                    .contains(QString::number(*doc.sementeMundo())));
}
