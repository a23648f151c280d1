#include "app/CMainFrame.h"
#include "gui/IconePrograma.h"
#include "gui/LinhaComando.h"
#include <QApplication>

int main(int argc, char** argv) {
    QApplication aplicacao(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Keldo"));
    QApplication::setApplicationName(QStringLiteral("keldo"));
    // Every window of the program, dialogs and message boxes too.
    QApplication::setWindowIcon(IconePrograma::icone());

    // The only argument is an optional project file to open.
    LinhaComando linha({QStringLiteral("keldo"),
                        QStringLiteral("Simulador de genética de populações da espécie X.\nSem "
                                       "PROJETO.gen, cria um mundo novo com os parâmetros padrão."),
                        QStringLiteral("PROJETO.gen"),
                        QStringLiteral("projeto de simulação a abrir")});
    if (const std::optional<int> status = linha.analisar(QApplication::arguments()))
        return *status;

    CMainFrame janela;
    if (!janela.iniciarDocumento(linha.arquivo()))
        return 1;
    janela.show();
    return aplicacao.exec();
}
