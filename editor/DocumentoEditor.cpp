#include "editor/DocumentoEditor.h"
#include "editor/CIndividuosModel.h"
#include "editor/Textos.h"
#include <QFileInfo>

namespace keldo::editor {

namespace {
std::string paraCaminhoNativo(const QString& caminho) {
    return QFile::encodeName(caminho).toStdString();
}
} // namespace

DocumentoEditor::DocumentoEditor() : titulo(Textos::janela.semNome) {}

void DocumentoEditor::iniciarVazio(KeldoHost* host) {
    doc.iniciarVazio(host);
    caminho.clear();
    titulo = Textos::janela.semNome;
}

ResultadoArquivo DocumentoEditor::abrir(const QString& arquivo) {
    const QFileInfo info(arquivo);
    if (info.isFile() && info.size() == 0) {
        // Nothing to read: an empty document under the file's name.
        doc.esvaziarMundo();
        doc.arquivo().marcarSalvo();
        definirCaminho(info.absoluteFilePath());
        return {};
    }
    ResultadoArquivo r = doc.carregarProjeto(paraCaminhoNativo(arquivo));
    if (!r.ok)
        return r;
    doc.arquivo().marcarSalvo();
    definirCaminho(info.absoluteFilePath());
    lastFilePath = caminho;
    return r;
}

bool DocumentoEditor::mesmoArquivoAnterior(const QString& arquivo) const {
    return !lastFilePath.isEmpty() &&
           QFileInfo(arquivo).absoluteFilePath().compare(lastFilePath, Qt::CaseInsensitive) == 0;
}

ResultadoArquivo DocumentoEditor::salvar(const QString& arquivo, const CIndividuosModel& linhas) {
    linhas.armazenar(doc);
    ResultadoArquivo r = doc.salvarProjeto(paraCaminhoNativo(arquivo), /*comSnapshot=*/false);
    if (!r.ok)
        return r;
    lastFilePath = QFileInfo(arquivo).absoluteFilePath();
    doc.arquivo().marcarSalvo();
    return r;
}

void DocumentoEditor::definirCaminho(const QString& arquivo) {
    caminho = arquivo;
    doc.arquivo().definirCaminho(paraCaminhoNativo(arquivo));
    titulo = arquivo.isEmpty() ? Textos::janela.semNome : QFileInfo(arquivo).fileName();
}

} // namespace keldo::editor
