#include "editor/CMainFrame.h"
#include <QApplication>
#include <QStringList>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Keldo"));
    QApplication::setApplicationName(QStringLiteral("keldoge"));
    CMainFrame janela;
    const QStringList argumentos = QApplication::arguments();
    // A project named on the command line that cannot be opened ends the program.
    if (argumentos.size() > 1 && !janela.abrirArquivo(argumentos.at(1)))
        return 1;
    janela.show();
    return QApplication::exec();
}
