#include "app/CMainFrame.h"
#include "app/Textos.h"
#include "gui/InicioPrograma.h"
#include <QApplication>

int main(int argc, char** argv) {
    QApplication aplicacao(argc, argv);
    QString arquivo;
    if (const auto status = InicioPrograma::preparar(
            {Textos::programa, Textos::descricao, Textos::argumento, Textos::explicacaoArgumento},
            arquivo))
        return *status;
    // No file gives a new world; a file that cannot be opened ends the program.
    CMainFrame janela;
    if (!janela.iniciarDocumento(arquivo))
        return 1;
    janela.show();
    return QApplication::exec();
}
