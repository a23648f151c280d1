#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace keldo::gui {

// The command line of the desktop programs: --help, --version and at most one
// argument that is not an option (the project to open, or the manual's page).
// Anything else is a usage error on standard error, not a message box.
class LinhaComando {
  public:
    struct Programa {
        QString nome;       // "keldo": the name in the usage line and in --version
        QString descricao;  // one sentence under the usage line
        QString argumento;  // "PROJETO.gen"
        QString explicacao; // what the argument is
    };
    static constexpr int erroUso = 2;

    explicit LinhaComando(Programa programa);

    // Reads `argumentos` (the program's name first). Empty when the program
    // goes on; else its exit status, after the help or the version has been
    // appended to `saida` or the usage error to `erros`.
    std::optional<int> analisar(const QStringList& argumentos, QString& saida, QString& erros);
    // The same, writing to the process' standard output and error.
    std::optional<int> analisar(const QStringList& argumentos);
    // The same before the QApplication exists, so help, version and usage
    // errors need no display: Qt's own options (-platform xcb, -style...),
    // which the QApplication will take, are left out first.
    std::optional<int> analisarAntesDoQt(int argc, char** argv);
    static QStringList semOpcoesDoQt(const QStringList& argumentos);

    // The argument that is not an option; empty when there is none.
    QString arquivo() const { return argumentoLido; }

    QString uso() const;
    QString textoAjuda() const;

  private:
    Programa prog;
    QString argumentoLido;
};

} // namespace keldo::gui
