#pragma once
#include "gui/LinhaComando.h"
#include <QApplication>
#include <QString>
#include <optional>

namespace keldo::gui {

// The start of both desktop programs, after the QApplication exists: the
// names settings are kept under, the program icon for every window, and the
// command line.
namespace InicioPrograma {

// Empty when the program goes on, with the project named on the command line
// (or nothing) in `arquivo`; else the exit status (help, version, usage error).
std::optional<int> preparar(const LinhaComando::Programa& programa, QString& arquivo);

// The whole program: its main window `Janela` starts with the project named
// on the command line (`iniciarDocumento`, false ends the program with 1).
template <class Janela>
int executar(int argc, char** argv, const LinhaComando::Programa& programa) {
    // Without a display, making the QApplication would abort the program.
    if (const std::optional<int> status = LinhaComando(programa).analisarAntesDoQt(argc, argv))
        return *status;
    QApplication aplicacao(argc, argv);
    QString arquivo;
    if (const std::optional<int> status = preparar(programa, arquivo))
        return *status;
    Janela janela;
    if (!janela.iniciarDocumento(arquivo))
        return 1;
    janela.show();
    return QApplication::exec();
}

} // namespace InicioPrograma

} // namespace keldo::gui
