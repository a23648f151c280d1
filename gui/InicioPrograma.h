#pragma once
#include "gui/LinhaComando.h"
#include <QString>
#include <optional>

// The start of both desktop programs, after the QApplication exists: the
// names settings are kept under, the program icon for every window, and the
// command line.
namespace InicioPrograma {

// Empty when the program goes on, with the project named on the command line
// (or nothing) in `arquivo`; else the exit status (help, version, usage error).
std::optional<int> preparar(const LinhaComando::Programa& programa, QString& arquivo);

} // namespace InicioPrograma
