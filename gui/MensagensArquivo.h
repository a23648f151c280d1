#pragma once
#include "sim/ArquivoProjeto.h"
#include <QString>

namespace keldo::gui {

using keldo::sim::ResultadoArquivo;

// The texts both desktop programs show when a project cannot be opened or
// saved (sim/TextoFalhaArquivo, which the web page shares), naming the file
// by its absolute path.
namespace MensagensArquivo {

// `arquivo` is named by its absolute path.
QString texto(const ResultadoArquivo& resultado, const QString& arquivo);

} // namespace MensagensArquivo

} // namespace keldo::gui
