#include "gui/TextosGenoma.h"

namespace keldo::gui {

namespace TextosGenoma {

QString rotuloGene(Genoma::Gene g) {
    return QStringLiteral("Gene ") + QString::fromUtf8(Genoma::nome(g));
}

QStringList letrasGene(Genoma::Gene g) {
    QStringList letras;
    for (int k = 0; k < Genoma::numAlelos(g); ++k)
        letras << QLatin1String(Genoma::letraNaPosicao(g, k));
    return letras;
}

} // namespace TextosGenoma

} // namespace keldo::gui
