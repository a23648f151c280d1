#include "gui/TextosGenoma.h"

namespace keldo::gui {

namespace TextosGenoma {

QString nomeGene(Genoma::Gene g) {
    return QString::fromUtf8(Genoma::nome(g));
}

QString rotuloGene(Genoma::Gene g) {
    return QStringLiteral("Gene ") + nomeGene(g);
}

QString genotipo(Genoma::Gene g, int primeiro, int segundo) {
    return QLatin1String(Genoma::letra(g, primeiro)) + QLatin1String(Genoma::letra(g, segundo));
}

QStringList letrasGene(Genoma::Gene g) {
    QStringList letras;
    for (int k = 0; k < Genoma::numAlelos(g); ++k)
        letras << QLatin1String(Genoma::letraNaPosicao(g, k));
    return letras;
}

} // namespace TextosGenoma

} // namespace keldo::gui
