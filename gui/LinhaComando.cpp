#include "gui/LinhaComando.h"
#include "sim/Versao.h"
#include <QCommandLineParser>
#include <algorithm>
#include <cstdio>
#include <utility>

namespace keldo::gui {

using namespace keldo::sim;

namespace {

void escrever(std::FILE* destino, const QString& texto) {
    const QByteArray bytes = texto.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), destino);
    std::fflush(destino);
}

QString erroDeUso(const LinhaComando& linha, const QString& nome, const QString& problema) {
    return QStringLiteral("%1: %2\n%3(veja %1 --help)\n").arg(nome, problema, linha.uso());
}

} // namespace

LinhaComando::LinhaComando(Programa programa) : prog(std::move(programa)) {}

QString LinhaComando::uso() const {
    return QStringLiteral("Uso: %1 [opções] [%2]\n").arg(prog.nome, prog.argumento);
}

QString LinhaComando::textoAjuda() const {
    const QString coluna = QStringLiteral("  %1 %2\n");
    const int largura = std::max<int>(15, prog.argumento.size() + 2);
    return uso() + QLatin1Char('\n') + prog.descricao + QStringLiteral("\n\nOpções:\n") +
           coluna.arg(QStringLiteral("-h, --help").leftJustified(largura),
                      QStringLiteral("mostra esta ajuda")) +
           coluna.arg(QStringLiteral("-v, --version").leftJustified(largura),
                      QStringLiteral("mostra a versão do programa")) +
           QStringLiteral("\nArgumento:\n") +
           coluna.arg(prog.argumento.leftJustified(largura), prog.explicacao);
}

std::optional<int> LinhaComando::analisar(const QStringList& argumentos, QString& saida,
                                          QString& erros) {
    argumentoLido.clear();
    QCommandLineParser leitor;
    const QCommandLineOption ajuda(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versao(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    leitor.addOption(ajuda);
    leitor.addOption(versao);
    if (!leitor.parse(argumentos)) {
        const QStringList desconhecidas = leitor.unknownOptionNames();
        const QString nome = desconhecidas.isEmpty() ? QString() : desconhecidas.first();
        erros += erroDeUso(
            *this, prog.nome,
            QStringLiteral("opção desconhecida: %1%2")
                .arg(nome.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), nome));
        return erroUso;
    }
    if (leitor.isSet(ajuda)) {
        saida += textoAjuda();
        return 0;
    }
    if (leitor.isSet(versao)) {
        saida += QStringLiteral("%1 %2\n").arg(prog.nome, QString::fromLatin1(versaoKeldo()));
        return 0;
    }
    const QStringList posicionais = leitor.positionalArguments();
    if (posicionais.size() > 1) {
        erros += erroDeUso(*this, prog.nome,
                           QStringLiteral("argumento a mais: %1").arg(posicionais.at(1)));
        return erroUso;
    }
    argumentoLido = posicionais.value(0);
    return std::nullopt;
}

QStringList LinhaComando::semOpcoesDoQt(const QStringList& argumentos) {
    // The options QGuiApplication and QApplication read, with a value or without.
    static const QStringList comValor = {QStringLiteral("platform"),
                                         QStringLiteral("platformpluginpath"),
                                         QStringLiteral("platformtheme"),
                                         QStringLiteral("plugin"),
                                         QStringLiteral("qwindowgeometry"),
                                         QStringLiteral("qwindowicon"),
                                         QStringLiteral("qwindowtitle"),
                                         QStringLiteral("session"),
                                         QStringLiteral("display"),
                                         QStringLiteral("geometry"),
                                         QStringLiteral("name"),
                                         QStringLiteral("title"),
                                         QStringLiteral("style"),
                                         QStringLiteral("stylesheet")};
    static const QStringList semValor = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                         QStringLiteral("nograb"), QStringLiteral("dograb"),
                                         QStringLiteral("sync")};
    QStringList restantes;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        if (i == 0 || !a.startsWith(QLatin1Char('-')) || a == QStringLiteral("--")) {
            restantes << a;
            continue;
        }
        QString nome = a.mid(a.startsWith(QStringLiteral("--")) ? 2 : 1);
        const bool valorJunto = nome.contains(QLatin1Char('='));
        nome = nome.section(QLatin1Char('='), 0, 0);
        if (nome == QStringLiteral("qmljsdebugger") || semValor.contains(nome))
            continue;
        if (comValor.contains(nome)) {
            if (!valorJunto)
                ++i; // its value
            continue;
        }
        restantes << a;
    }
    return restantes;
}

std::optional<int> LinhaComando::analisarAntesDoQt(int argc, char** argv) {
    QStringList argumentos;
    for (int i = 0; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    const std::optional<int> status = analisar(semOpcoesDoQt(argumentos));
    argumentoLido.clear(); // read again from the QApplication's arguments
    return status;
}

std::optional<int> LinhaComando::analisar(const QStringList& argumentos) {
    QString saida;
    QString erros;
    const std::optional<int> status = analisar(argumentos, saida, erros);
    escrever(stdout, saida);
    escrever(stderr, erros);
    return status;
}

} // namespace keldo::gui
