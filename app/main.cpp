#include "app/CMainFrame.h"
#include <QApplication>

int main(int argc, char** argv) {
    QApplication aplicacao(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Keldo"));
    QApplication::setApplicationName(QStringLiteral("keldo"));

    // The only argument is an optional project file to open.
    const QStringList argumentos = QApplication::arguments();
    const QString arquivo = argumentos.size() > 1 ? argumentos.at(1) : QString();

    CMainFrame janela;
    if (!janela.iniciarDocumento(arquivo))
        return 1;
    janela.show();
    return aplicacao.exec();
}
