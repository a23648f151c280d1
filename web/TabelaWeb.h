#pragma once
#include <string>

namespace keldo::web {

// The parameter table as JSON for the page's form: per field, in the record's
// order, its name, type, one-line description, the dialog's range or choices
// (and whether the dialog edits it at all), the range loads accept and a new
// project's value. The page writes no range of its own.
std::string tabelaParametrosJson();

// The genes as JSON for the charts: interface name, summary letter, allele
// letters, chromosome.
std::string genesJson();

// The obstacle rectangles of level `codigo` (both halves), in the 640 x 480
// pixels of the arena picture, as JSON [[left, top, right, bottom], ...].
std::string obstaculosJson(char codigo);

} // namespace keldo::web
