#pragma once
#include "sim/CKeldoDoc.h"
#include <QString>

namespace keldo::gui {

using namespace keldo::sim;

// The texts both desktop programs show when a project cannot be opened or
// saved: the framework's standard English messages, naming the file and,
// for a failure of the system, its reason. The programs' own checks (the
// version, a parameter out of range) keep their own Portuguese texts.
namespace MensagensArquivo {

// `arquivo` is named by its absolute path.
QString texto(const ResultadoArquivo& resultado, const QString& arquivo);

} // namespace MensagensArquivo

} // namespace keldo::gui
