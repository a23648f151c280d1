#include "editor/DocumentoEditor.h"
#include "editor/CIndividuosModel.h"
#include "editor/Recursos.h"
#include <QFileInfo>
#include <algorithm>
#include <ctime>

namespace {
std::string paraCaminhoNativo(const QString& caminho) {
    return QFile::encodeName(caminho).toStdString();
}
} // namespace

DocumentoEditor::DocumentoEditor() : titulo(Recursos::tituloSemNome) {}

void DocumentoEditor::iniciarVazio(KeldoHost* host) {
    doc.host = host;
    doc.limparMundo();
    if (host)
        doc.arena = host->areaCliente();
    doc.escolherNivel();
    doc.construirObstaculos();
    doc.parametros.doc = &doc;
    doc.numSnapshot = 0;
    doc.geracao = 0;
    doc.tempo = 0;
    doc.ovos = 0;
    doc.estadoExecucao = 0;
    doc.rng.semear(static_cast<uint32_t>(std::time(nullptr)));
    doc.caminho.clear();
    doc.modificado = false;
    caminho.clear();
    titulo = Recursos::tituloSemNome;
}

ResultadoArquivo DocumentoEditor::abrir(const QString& arquivo) {
    const QFileInfo info(arquivo);
    if (info.isFile() && info.size() == 0) {
        // Nothing to read: an empty document under the file's name.
        doc.limparMundo();
        doc.construirObstaculos();
        doc.ovos = 0;
        doc.modificado = false;
        definirCaminho(info.absoluteFilePath());
        return {};
    }
    ResultadoArquivo r = doc.carregarProjeto(paraCaminhoNativo(arquivo));
    if (!r.ok)
        return r;
    doc.modificado = false;
    definirCaminho(info.absoluteFilePath());
    lastFilePath = caminho;
    return r;
}

bool DocumentoEditor::mesmoArquivoAnterior(const QString& arquivo) const {
    return !lastFilePath.isEmpty() &&
           QFileInfo(arquivo).absoluteFilePath().compare(lastFilePath, Qt::CaseInsensitive) == 0;
}

ResultadoArquivo DocumentoEditor::salvar(const QString& arquivo, const CIndividuosModel& linhas) {
    doc.vivos.clear();
    doc.mortos.clear();
    linhas.armazenar(doc);
    doc.geracao = 0;
    // Ids handed to clones must never come back as ids of the simulator's newborns.
    doc.proximoId = std::max(doc.proximoId, linhas.maiorIdLinhas() + 1);
    ResultadoArquivo r = doc.salvarProjeto(paraCaminhoNativo(arquivo), /*comSnapshot=*/false);
    if (!r.ok)
        return r;
    lastFilePath = QFileInfo(arquivo).absoluteFilePath();
    doc.modificado = false;
    return r;
}

void DocumentoEditor::definirCaminho(const QString& arquivo) {
    caminho = arquivo;
    doc.caminho = paraCaminhoNativo(arquivo);
    titulo = arquivo.isEmpty() ? Recursos::tituloSemNome : QFileInfo(arquivo).fileName();
}
