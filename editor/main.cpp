#include "editor/CMainFrame.h"
#include "gui/IconePrograma.h"
#include "gui/LinhaComando.h"
#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Keldo"));
    QApplication::setApplicationName(QStringLiteral("keldoge"));
    // Every window of the program, dialogs and message boxes too.
    QApplication::setWindowIcon(IconePrograma::icone());
    LinhaComando linha({QStringLiteral("keldoge"),
                        QStringLiteral("Editor de genótipos: lista, edita, apaga e clona os "
                                       "indivíduos de um projeto KELDO."),
                        QStringLiteral("PROJETO.gen"),
                        QStringLiteral("projeto de simulação a abrir")});
    if (const std::optional<int> status = linha.analisar(QApplication::arguments()))
        return *status;
    CMainFrame janela;
    // A project named on the command line that cannot be opened ends the program.
    if (!linha.arquivo().isEmpty() && !janela.abrirArquivo(linha.arquivo()))
        return 1;
    janela.show();
    return QApplication::exec();
}
