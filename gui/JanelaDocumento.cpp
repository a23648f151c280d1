#include "gui/JanelaDocumento.h"
#include "gui/PastaSimulacoes.h"
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QWidget>

namespace keldo::gui {

JanelaDocumento::JanelaDocumento(QWidget* j, DialogosDocumento& d, TextosJanela t)
    : janela(j), dialogos(d), textos(std::move(t)) {}

QString JanelaDocumento::textoSalvarAlteracoes(const QString& nome) {
    return QStringLiteral("Save changes to %1?").arg(nome);
}

bool JanelaDocumento::somenteLeitura(const QString& caminho) {
    const QFileInfo info(caminho);
    if (!info.exists())
        return false;
    // The mode bits, as the save judges them: access() lets root write anything.
    const auto escrita =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.isFile() && !(info.permissions() & escrita))
        return true;
    return !info.isWritable();
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

void JanelaDocumento::abrirEscolhido() const {
    const QString arquivo = dialogos.abrir(PastaSimulacoes::pasta());
    if (!arquivo.isEmpty())
        abrir(arquivo);
}

QString JanelaDocumento::escolherSalvar(const QString& caminho,
                                        const QString& tituloDocumento) const {
    const QString proposta = PastaSimulacoes::nomeProposto(
        caminho, tituloDocumento, textos.extensao, PastaSimulacoes::pasta());
    // A replaced dialog may give a bare name: it gets the extension the real one adds.
    return PastaSimulacoes::comExtensao(dialogos.salvarComo(proposta));
}

void JanelaDocumento::definirTitulo(const QString& nomeDocumento) const {
    janela->setWindowTitle(textos.titulo + QStringLiteral(": ") + nomeDocumento);
}

void JanelaDocumento::mostrarSobre(CAboutDlg::Conteudo conteudo) const {
    conteudo.icone = janela->windowIcon();
    CAboutDlg dialogo(conteudo, janela);
    dialogo.exec();
}

void JanelaDocumento::ligar(std::function<bool()> fechar,
                            std::function<void(const QString&)> abrirArquivo, bool link) {
    podeFechar = std::move(fechar);
    abrir = std::move(abrirArquivo);
    qualquerLink = link;
    janela->setAcceptDrops(true);
    janela->installEventFilter(this);
}

bool JanelaDocumento::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto != janela)
        return false;
    switch (evento->type()) {
    case QEvent::Close:
        evento->setAccepted(podeFechar());
        return true;
    case QEvent::DragEnter:
        aceitarArrasto(static_cast<QDragEnterEvent*>(evento));
        return true;
    case QEvent::Drop:
        soltar(static_cast<QDropEvent*>(evento));
        return true;
    default:
        return false;
    }
}

void JanelaDocumento::aceitarArrasto(QDragEnterEvent* evento) const {
    const QMimeData* dados = evento->mimeData();
    if ((qualquerLink && dados->hasUrls()) || !arquivosLocais(dados->urls()).isEmpty())
        evento->acceptProposedAction();
}

void JanelaDocumento::soltar(QDropEvent* evento) const {
    const QStringList arquivos = arquivosLocais(evento->mimeData()->urls());
    evento->acceptProposedAction();
    for (const QString& arquivo : arquivos)
        abrir(arquivo);
}

QStringList JanelaDocumento::arquivosLocais(const QList<QUrl>& urls) {
    QStringList arquivos;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            arquivos << url.toLocalFile();
    return arquivos;
}

} // namespace keldo::gui
