// KeldoHP: the user manual of the simulator and of the genotype editor.
// An optional argument names the page to show first ("exercicios.html").
#include "gui/LinhaComando.h"
#include "help/CJanelaAjuda.h"
#include <QApplication>

using namespace keldo::gui;
using namespace keldo::help;

int main(int argc, char** argv) {
    LinhaComando linha({QStringLiteral("KeldoHP"),
                        QStringLiteral("Manual do simulador KELDO e do editor de genótipos."),
                        QStringLiteral("PÁGINA"),
                        QStringLiteral("página a mostrar primeiro, por exemplo exercicios.html")});
    // Help, version and usage errors need no display.
    if (const std::optional<int> status = linha.analisarAntesDoQt(argc, argv))
        return *status;
    QApplication aplicacao(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KeldoHP"));
    if (const std::optional<int> status = linha.analisar(QApplication::arguments()))
        return *status;
    Q_INIT_RESOURCE(manual);
    CJanelaAjuda janela;
    if (!linha.arquivo().isEmpty())
        janela.abrir(linha.arquivo());
    janela.show();
    return QApplication::exec();
}
