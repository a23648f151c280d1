#pragma once
#include <QString>

namespace keldo::gui {

// The separate help program "KeldoHP", started from the Help menu of both programs.
namespace Ajuda {

// Where the help program is: beside the program in `pastaPrograma`, else on
// the PATH. Empty when it is nowhere.
QString localizar(const QString& pastaPrograma);

// Starts the help program detached, with no arguments. A failure is silent;
// the result only tells whether it was started.
bool iniciar();

} // namespace Ajuda

} // namespace keldo::gui
