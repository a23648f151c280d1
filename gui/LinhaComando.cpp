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

std::optional<int> LinhaComando::analisar(const QStringList& argumentos) {
    QString saida;
    QString erros;
    const std::optional<int> status = analisar(argumentos, saida, erros);
    escrever(stdout, saida);
    escrever(stderr, erros);
    return status;
}

} // namespace keldo::gui
