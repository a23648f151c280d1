#include "gui/InicioPrograma.h"
#include "gui/IconePrograma.h"
#include <QApplication>

namespace keldo::gui {

namespace InicioPrograma {

std::optional<int> preparar(const LinhaComando::Programa& programa, QString& arquivo) {
    QApplication::setOrganizationName(QStringLiteral("Keldo"));
    QApplication::setApplicationName(programa.nome);
    // Every window of the program, dialogs and message boxes too.
    QApplication::setWindowIcon(IconePrograma::icone());
    LinhaComando linha(programa);
    if (const std::optional<int> status = linha.analisar(QApplication::arguments()))
        return status;
    arquivo = linha.arquivo();
    return std::nullopt;
}

} // namespace InicioPrograma

} // namespace keldo::gui
