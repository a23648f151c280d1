#pragma once
#include "sim/CKeldoDoc.h"
#include <QString>
#include <string>

namespace keldo::sim {
class KeldoHost;
} // namespace keldo::sim

namespace keldo::editor {

using keldo::sim::CKeldoDoc;
using keldo::sim::KeldoHost;
using keldo::sim::ResultadoArquivo;

class CIndividuosModel;

// The editor's document: the simulator's document without the simulation,
// plus the path last read or written (which enables Save) and the title.
class DocumentoEditor {
  public:
    DocumentoEditor();

    // The empty document of start-up: arena, level, obstacle tables, counters
    // at 0 and the generator seeded with the time; no individuals, no food.
    void iniciarVazio(KeldoHost* host);

    // Reads a project. On any failure the document, its path, title and
    // lastFilePath stay as they were. A file of length 0 opens as an empty
    // document without being read (lastFilePath then keeps its value).
    ResultadoArquivo abrir(const QString& caminho);

    // Whether a save to `caminho` would write over the file last read or written.
    bool mesmoArquivoAnterior(const QString& caminho) const;

    // The save step after the same-file prompt: the document takes the rows as
    // its living and dead lists (CIndividuosModel::armazenar) and the file is
    // written (no snapshot).
    ResultadoArquivo salvar(const QString& caminho, const CIndividuosModel& linhas);

    // Sets the path and the title (the file name; "Untitled" without a path).
    void definirCaminho(const QString& caminho);

    CKeldoDoc doc;
    QString caminho;      // the document's path; empty for the empty document
    QString titulo;       // file name of the project, or "Untitled"
    QString lastFilePath; // last complete read or write; enables Save
};

} // namespace keldo::editor
