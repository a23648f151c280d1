#include "gui/Ajuda.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace keldo::gui {

namespace Ajuda {

QString localizar(const QString& pastaPrograma) {
    static const char* const nomes[] = {"KeldoHP", "KeldoHP.exe"};
    for (const char* nome : nomes) {
        const QFileInfo ao(QDir(pastaPrograma).filePath(QLatin1String(nome)));
        if (ao.isFile() && ao.isExecutable())
            return ao.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(QStringLiteral("KeldoHP"));
}

bool iniciar() {
    const QString programa = localizar(QCoreApplication::applicationDirPath());
    if (programa.isEmpty())
        return false;
    return QProcess::startDetached(programa, {});
}

} // namespace Ajuda

} // namespace keldo::gui
