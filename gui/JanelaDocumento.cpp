#include "gui/JanelaDocumento.h"
#include "gui/PastaSimulacoes.h"
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

JanelaDocumento::JanelaDocumento(QWidget* j, DialogosDocumento& d, QString tituloPrograma)
    : janela(j), dialogos(d), titulo(std::move(tituloPrograma)) {}

QString JanelaDocumento::textoSalvarAlteracoes(const QString& nome) {
    return QStringLiteral("Save changes to %1?").arg(nome);
}

bool JanelaDocumento::perguntarSalvar(bool modificado, const QString& nome,
                                      const std::function<bool()>& salvar) const {
    if (!modificado)
        return true;
    switch (dialogos.perguntarSalvar(textoSalvarAlteracoes(nome))) {
    case QMessageBox::Yes:
        return salvar();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

QString JanelaDocumento::escolherAbrir() const {
    return dialogos.abrir(PastaSimulacoes::pasta());
}

QString JanelaDocumento::escolherSalvar(const QString& caminho, const QString& tituloDocumento,
                                        const QString& extensao) const {
    const QString proposta =
        PastaSimulacoes::nomeProposto(caminho, tituloDocumento, extensao, PastaSimulacoes::pasta());
    // A replaced dialog may give a bare name: it gets the extension the real one adds.
    return PastaSimulacoes::comExtensao(dialogos.salvarComo(proposta));
}

void JanelaDocumento::definirTitulo(const QString& nomeDocumento) const {
    janela->setWindowTitle(titulo + QStringLiteral(": ") + nomeDocumento);
}

void JanelaDocumento::mostrarSobre(CAboutDlg::Conteudo conteudo) const {
    conteudo.icone = janela->windowIcon();
    CAboutDlg dialogo(conteudo, janela);
    dialogo.exec();
}

void JanelaDocumento::aceitarArrasto(QDragEnterEvent* evento, bool qualquerLink) {
    const QMimeData* dados = evento->mimeData();
    if ((qualquerLink && dados->hasUrls()) || !arquivosLocais(dados->urls()).isEmpty())
        evento->acceptProposedAction();
}

QStringList JanelaDocumento::arquivosSoltos(QDropEvent* evento) {
    const QStringList arquivos = arquivosLocais(evento->mimeData()->urls());
    evento->acceptProposedAction();
    return arquivos;
}

QStringList JanelaDocumento::arquivosLocais(const QList<QUrl>& urls) {
    QStringList arquivos;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            arquivos << url.toLocalFile();
    return arquivos;
}
