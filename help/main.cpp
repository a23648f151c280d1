// KeldoHP: the user manual of the simulator and of the genotype editor.
// An optional argument names the page to show first ("exercicios.html").
#include "help/CJanelaAjuda.h"
#include <QApplication>

int main(int argc, char** argv) {
    QApplication aplicacao(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KeldoHP"));
    Q_INIT_RESOURCE(manual);
    CJanelaAjuda janela;
    const QStringList argumentos = QApplication::arguments();
    if (argumentos.size() > 1)
        janela.abrir(argumentos.at(1));
    janela.show();
    return QApplication::exec();
}
