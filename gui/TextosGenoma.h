#pragma once
#include "model/Genoma.h"
#include <QString>
#include <QStringList>

namespace keldo::gui {

namespace Genoma = keldo::model::Genoma;

// The genome's texts as the genotype forms show them.
namespace TextosGenoma {

// "Visão".
QString nomeGene(Genoma::Gene g);
// "Gene Visão".
QString rotuloGene(Genoma::Gene g);
// A one-bit gene's genotype by its two allele codes, first then second ("Mm" for 1, 0).
QString genotipo(Genoma::Gene g, int primeiro, int segundo);
// The allele buttons' texts, in the interface's order ("V1".."V4", "R" "r").
QStringList letrasGene(Genoma::Gene g);

} // namespace TextosGenoma

} // namespace keldo::gui
