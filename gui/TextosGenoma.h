#pragma once
#include "model/Genoma.h"
#include <QString>
#include <QStringList>

namespace keldo::gui {

using namespace keldo::model;

// The genome's texts as the genotype forms show them.
namespace TextosGenoma {

// "Gene Visão".
QString rotuloGene(Genoma::Gene g);
// The allele buttons' texts, in the interface's order ("V1".."V4", "R" "r").
QStringList letrasGene(Genoma::Gene g);

} // namespace TextosGenoma

} // namespace keldo::gui
