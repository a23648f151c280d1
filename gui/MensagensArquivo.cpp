#include "gui/MensagensArquivo.h"
#include "io/GravacaoSegura.h"
#include <QDir>
#include <QFileInfo>

namespace keldo::gui {

using namespace keldo::io;

namespace MensagensArquivo {

QString texto(const ResultadoArquivo& r, const QString& arquivo) {
    const QString nome = QDir::toNativeSeparators(QFileInfo(arquivo).absoluteFilePath());
    const QString abrir = QStringLiteral("Failed to open document.\n");
    const QString razao = QString::fromStdString(GravacaoSegura::descricao(r.erroSistema));
    switch (r.falha) {
    case FalhaArquivo::salvar:
        if (!r.mantido.empty())
            return QStringLiteral(
                       "Failed to save document.\n%1: %2.\nThe document was saved as %3.")
                .arg(nome, razao, QDir::toNativeSeparators(QString::fromStdString(r.mantido)));
        return QStringLiteral("Failed to save document.\n%1: %2.").arg(nome, razao);
    case FalhaArquivo::abrir:
        return abrir + QStringLiteral("%1: %2.").arg(nome, razao);
    case FalhaArquivo::fimDoArquivo:
        return abrir + QStringLiteral("An attempt was made to access %1 past its end.").arg(nome);
    case FalhaArquivo::objetoInesperado:
        return abrir + QStringLiteral("%1 contained an unexpected object.").arg(nome);
    case FalhaArquivo::esquema:
        return abrir + QStringLiteral("%1 contains an incorrect schema.").arg(nome);
    case FalhaArquivo::formato:
        return abrir + QStringLiteral("%1: Unexpected file format.").arg(nome);
    case FalhaArquivo::alemDoLimite:
        return abrir + QStringLiteral("%1 holds more than %2 individuals and food items, the "
                                      "limit of a world.")
                           .arg(nome)
                           .arg(CKeldoDoc::limiteMundo);
    case FalhaArquivo::versao:
    case FalhaArquivo::parametro:
    case FalhaArquivo::nenhuma:
        break;
    }
    return QString::fromStdString(r.mensagem);
}

} // namespace MensagensArquivo

} // namespace keldo::gui
