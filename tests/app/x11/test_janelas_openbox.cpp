// Where the windows really are on a screen run by a window manager (openbox
// under Xvfb, started by com-openbox.sh): the chart window lands fully on the
// screen and beside the main window, never over the arena, as the window
// manager's own records of the frames say.
#include "LacoEventos.h"
#include "app/CGraficosDlg.h"
#include "app/CMainFrame.h"
#include <QAction>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <gtest/gtest.h>

using namespace keldo::app;

namespace {

QString saida(const QString& programa, const QStringList& argumentos) {
    QProcess p;
    p.start(programa, argumentos);
    p.waitForFinished(30000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

int campo(const QString& texto, const QString& nome) {
    const QRegularExpression re(QRegularExpression::escape(nome) + QStringLiteral(":\\s*(-?\\d+)"));
    return re.match(texto).captured(1).toInt();
}

// The frame as the X server has it: the client's absolute place and size
// (xwininfo) grown by the extents the window manager announced (xprop).
QRect molduraNoServidor(const QWidget& janela) {
    const QString id = QString::number(janela.winId());
    const QString info = saida(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    const QRect cliente(campo(info, QStringLiteral("Absolute upper-left X")),
                        campo(info, QStringLiteral("Absolute upper-left Y")),
                        campo(info, QStringLiteral("Width")),
                        campo(info, QStringLiteral("Height")));
    const QString extensoes = saida(
        QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")});
    const QRegularExpression re(QStringLiteral("=\\s*(\\d+),\\s*(\\d+),\\s*(\\d+),\\s*(\\d+)"));
    const auto m = re.match(extensoes);
    if (!m.hasMatch())
        return cliente;
    return cliente.marginsAdded(QMargins(m.captured(1).toInt(), m.captured(3).toInt(),
                                         m.captured(2).toInt(), m.captured(4).toInt()));
}

// The window manager is done with a window when it has announced its frame
// and the frame has stayed put over a few round trips.
bool assentada(const QWidget& janela) {
    QRect antes;
    int iguais = 0;
    return esperarAte([&] {
        const QRect agora = molduraNoServidor(janela);
        const bool decorada = agora != QRect() && agora.size() != janela.size();
        iguais = decorada && agora == antes ? iguais + 1 : 0;
        antes = agora;
        return iguais >= 5;
    });
}

} // namespace

TEST(JanelasOpenbox, GraficosInteirosNaTelaEForaDaArena) {
    CMainFrame frame;
    frame.documento().definirSementeFixa(1u);
    ASSERT_TRUE(frame.iniciarDocumento(QString()));
    frame.show();
    ASSERT_TRUE(assentada(frame));
    frame.findChild<QAction*>(QStringLiteral("acaoGraficos"))->trigger();
    CGraficosDlg* graficos = frame.janelaGraficos();
    ASSERT_NE(graficos, nullptr);
    // Three panels, as the drift exercise shows them.
    graficos->mostrarHeterozigose(true);
    ASSERT_TRUE(assentada(*graficos));
    ASSERT_TRUE(assentada(frame));

    const QRect tela = frame.screen()->geometry();
    const QRect principal = molduraNoServidor(frame);
    const QRect janela = molduraNoServidor(*graficos);
    const std::string caso =
        std::to_string(tela.width()) + "x" + std::to_string(tela.height()) + ": main " +
        std::to_string(principal.x()) + "," + std::to_string(principal.y()) + " " +
        std::to_string(principal.width()) + "x" + std::to_string(principal.height()) + ", charts " +
        std::to_string(janela.x()) + "," + std::to_string(janela.y()) + " " +
        std::to_string(janela.width()) + "x" + std::to_string(janela.height());
    EXPECT_TRUE(tela.contains(principal)) << caso;
    EXPECT_TRUE(tela.contains(janela)) << caso;
    EXPECT_FALSE(janela.intersects(principal)) << caso;
    EXPECT_EQ(graficos->numPaineis(), 3);
    // Qt's own idea of the frames agrees with the server's.
    EXPECT_EQ(graficos->frameGeometry(), janela) << caso;
    EXPECT_EQ(frame.frameGeometry(), principal) << caso;
}
