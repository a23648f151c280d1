#include "gui/PastaSimulacoes.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace keldo::gui {

namespace PastaSimulacoes {

namespace {
const QString nomePasta = QStringLiteral("Simulações");

// Creates the folder when missing and proves that a file can be written in it.
bool utilizavel(const QString& caminho) {
    if (!QDir().mkpath(caminho))
        return false;
    QTemporaryFile teste(QDir(caminho).filePath(QStringLiteral(".keldo-XXXXXX")));
    return teste.open();
}
} // namespace

bool aoLadoDoPrograma(const QString& pastaPrograma) {
    const QFileInfo info(pastaPrograma);
    const auto escrita =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (!info.isDir() || !info.isWritable() || !(info.permissions() & escrita))
        return false;
    // Root may write anywhere: where the program lies tells an installed one.
    const QString real = info.canonicalFilePath();
    for (const char* prefixo :
         {"/usr", "/opt", "/bin", "/sbin", "/lib", "/lib64", "/snap", "/app", "/nix/store"}) {
        const QString p = QString::fromLatin1(prefixo);
        if (real == p || real.startsWith(p + QLatin1Char('/')))
            return false;
    }
    return true;
}

QString pasta(const QString& pastaPrograma) {
    const QString aoLado = QDir(pastaPrograma).filePath(nomePasta);
    if (aoLadoDoPrograma(pastaPrograma) && utilizavel(aoLado))
        return QDir::cleanPath(aoLado);
    QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documentos.isEmpty())
        documentos = QDir::homePath();
    const QString alternativa = QDir(documentos).filePath(nomePasta);
    QDir().mkpath(alternativa);
    return QDir::cleanPath(alternativa);
}

QString pasta() {
    return pasta(QCoreApplication::applicationDirPath());
}

QString nomeProposto(const QString& caminhoDocumento, const QString& titulo,
                     const QString& extensao, const QString& pastaPadrao) {
    QString nome = caminhoDocumento;
    if (nome.isEmpty()) {
        nome = titulo;
        const int corte = nome.indexOf(QRegularExpression(QStringLiteral("[ #%;/\\\\]")));
        if (corte >= 0)
            nome.truncate(corte);
        nome += extensao;
    }
    if (!nome.contains(QLatin1Char('/')) && !nome.contains(QLatin1Char('\\')))
        nome = QDir(pastaPadrao).filePath(nome);
    return nome;
}

QString comExtensao(const QString& nome) {
    if (nome.isEmpty() || !QFileInfo(nome).suffix().isEmpty())
        return nome;
    return nome + QStringLiteral(".gen");
}

QString escolherNomeSalvar(QWidget* pai, const QString& proposta, const QString& filtros) {
    QFileDialog dialogo(pai, QStringLiteral("Save As"), proposta, filtros);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setDefaultSuffix(QStringLiteral("gen"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return QString();
    return comExtensao(dialogo.selectedFiles().constFirst());
}

} // namespace PastaSimulacoes

} // namespace keldo::gui
