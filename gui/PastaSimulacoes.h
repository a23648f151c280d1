#pragma once
#include <QString>

// The default project folder "Simulações" and the names proposed for saving.
namespace PastaSimulacoes {

// "Simulações" beside the program (in `pastaPrograma`), created when missing;
// when that cannot be created or written, "Simulações" under the user's
// documents folder (created when possible).
QString pasta(const QString& pastaPrograma);
// The same for the running program.
QString pasta();

// The name proposed by "Salvar Como": the document's path; without one, its
// title cut before the first of " #%;/\" followed by `extensao`. A proposal
// without a folder goes into `pastaPadrao`.
QString nomeProposto(const QString& caminhoDocumento, const QString& titulo,
                     const QString& extensao, const QString& pastaPadrao);

} // namespace PastaSimulacoes
