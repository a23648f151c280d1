// The three desktop programs answer --help, --version and a bad option on a
// machine without a display (a terminal over ssh, a build server): no
// QApplication is made for them, so nothing aborts.
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct Resultado {
    int status = -1;
    bool terminou = false; // false when it crashed (an abort, status 134 in a shell)
    QString saida;
    QString erros;
};

Resultado rodarSemTela(const QString& programa, const QStringList& argumentos) {
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    for (const char* nome : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        ambiente.remove(QString::fromLatin1(nome));
    QProcess p;
    p.setProcessEnvironment(ambiente);
    p.start(programa, argumentos);
    Resultado r;
    if (!p.waitForFinished(30000))
        return r;
    r.terminou = p.exitStatus() == QProcess::NormalExit;
    r.status = p.exitCode();
    r.saida = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.erros = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

} // namespace

TEST(SemTela, AjudaVersaoEOpcaoErradaDosTresProgramas) {
    const QStringList programas = {QStringLiteral(KELDO_PATH), QStringLiteral(KELDOGE_PATH),
                                   QStringLiteral(KELDOHP_PATH)};
    for (const QString& programa : programas) {
        const std::string nome = programa.toStdString();
        Resultado r = rodarSemTela(programa, {QStringLiteral("--help")});
        EXPECT_TRUE(r.terminou) << nome;
        EXPECT_EQ(r.status, 0) << nome << r.erros.toStdString();
        EXPECT_TRUE(r.saida.startsWith(QStringLiteral("Uso: "))) << nome;

        r = rodarSemTela(programa, {QStringLiteral("-v")});
        EXPECT_TRUE(r.terminou) << nome;
        EXPECT_EQ(r.status, 0) << nome << r.erros.toStdString();
        EXPECT_FALSE(r.saida.isEmpty()) << nome;

        r = rodarSemTela(programa, {QStringLiteral("--cores")});
        EXPECT_TRUE(r.terminou) << nome;
        EXPECT_EQ(r.status, 2) << nome;
        EXPECT_TRUE(r.erros.contains(QStringLiteral("opção desconhecida: --cores"))) << nome;

        // Qt's own options are Qt's: the help still comes, with no display.
        r = rodarSemTela(programa, {QStringLiteral("-platform"), QStringLiteral("xcb"),
                                    QStringLiteral("-style=fusion"), QStringLiteral("--help")});
        EXPECT_EQ(r.status, 0) << nome << r.erros.toStdString();
        EXPECT_TRUE(r.saida.startsWith(QStringLiteral("Uso: "))) << nome;
    }
}
