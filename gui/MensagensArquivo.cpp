#include "gui/MensagensArquivo.h"
#include "sim/TextoFalhaArquivo.h"
#include <QDir>
#include <QFileInfo>

namespace keldo::gui {

using namespace keldo::sim;

namespace MensagensArquivo {

QString texto(const ResultadoArquivo& r, const QString& arquivo) {
    const QString nome = QDir::toNativeSeparators(QFileInfo(arquivo).absoluteFilePath());
    return QString::fromStdString(textoFalhaArquivo(r, nome.toStdString()));
}

} // namespace MensagensArquivo

} // namespace keldo::gui
