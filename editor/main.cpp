#include "editor/CMainFrame.h"
#include "editor/Textos.h"
#include "gui/InicioPrograma.h"
#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QString arquivo;
    if (const auto status = InicioPrograma::preparar(
            {Textos::programa, Textos::descricao, Textos::argumento, Textos::explicacaoArgumento},
            arquivo))
        return *status;
    CMainFrame janela;
    // A project named on the command line that cannot be opened ends the program.
    if (!arquivo.isEmpty() && !janela.abrirArquivo(arquivo))
        return 1;
    janela.show();
    return QApplication::exec();
}
