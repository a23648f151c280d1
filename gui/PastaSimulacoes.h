#pragma once
#include <QString>

class QWidget;

namespace keldo::gui {

// The default project folder "Simulações" and the names proposed for saving.
namespace PastaSimulacoes {

// Whether "Simulações" may be made beside a program in `pastaPrograma`: not
// where it is installed (under a system prefix such as /usr or /opt, where a
// package's removal would leave the folder behind), nor in a folder this
// user may not write or that has no write bit at all.
bool aoLadoDoPrograma(const QString& pastaPrograma);
// "Simulações" beside the program (in `pastaPrograma`) when `aoLadoDoPrograma`
// allows it, created when missing; otherwise, or when that cannot be created
// or written, "Simulações" under the user's documents folder (created when possible).
QString pasta(const QString& pastaPrograma);
// The same for the running program.
QString pasta();

// The name proposed by "Salvar Como": the document's path; without one, its
// title cut before the first of " #%;/\" followed by `extensao`. A proposal
// without a folder goes into `pastaPadrao`.
QString nomeProposto(const QString& caminhoDocumento, const QString& titulo,
                     const QString& extensao, const QString& pastaPadrao);

// A name typed without an extension gets ".gen", the project files' own.
QString comExtensao(const QString& nome);
// The "Save As" file dialog: a name typed without an extension gets ".gen"
// before the dialog checks whether it would replace a file. Empty on Cancel.
QString escolherNomeSalvar(QWidget* pai, const QString& proposta, const QString& filtros);

} // namespace PastaSimulacoes

} // namespace keldo::gui
