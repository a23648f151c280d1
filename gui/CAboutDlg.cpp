#include "gui/CAboutDlg.h"
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(const Conteudo& c, QWidget* pai) : QDialog(pai) {
    setWindowTitle(c.titulo);
    setModal(true);
    abrirEndereco = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    auto* icone = new QLabel(this);
    if (!c.icone.isNull())
        icone->setPixmap(c.icone.pixmap(32, 32));
    icone->setAlignment(Qt::AlignTop);

    versaoRotulo = new QLabel(QStringLiteral("%1 Versão").arg(c.nome), this);
    versaoRotulo->setObjectName(QStringLiteral("rotuloVersao"));
    versaoTexto = new QLabel(c.versao, this);
    versaoTexto->setObjectName(QStringLiteral("textoVersao"));
    auto* linhaVersao = new QHBoxLayout;
    linhaVersao->addWidget(versaoRotulo);
    linhaVersao->addWidget(versaoTexto);
    linhaVersao->addStretch();

    auto* credito1 = new QLabel(c.credito1, this);
    credito1->setObjectName(QStringLiteral("credito1"));
    auto* credito2 = new QLabel(c.credito2, this);
    credito2->setObjectName(QStringLiteral("credito2"));

    enderecoRotulo = new QLabel(this);
    enderecoRotulo->setObjectName(QStringLiteral("endereco"));
    enderecoRotulo->setTextFormat(Qt::RichText);
    enderecoRotulo->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                                .arg(c.endereco.toHtmlEscaped(), c.endereco.toHtmlEscaped()));
    enderecoRotulo->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                            Qt::LinksAccessibleByKeyboard);
    enderecoRotulo->setOpenExternalLinks(false);
    enderecoRotulo->setCursor(Qt::PointingHandCursor);
    connect(enderecoRotulo, &QLabel::linkActivated, this, [this](const QString& link) {
        if (abrirEndereco)
            abrirEndereco(QUrl(link));
    });

    auto* textos = new QVBoxLayout;
    textos->addLayout(linhaVersao);
    textos->addWidget(credito1);
    textos->addWidget(credito2);
    textos->addWidget(enderecoRotulo);

    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    ok = botoes->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* corpo = new QHBoxLayout;
    corpo->addWidget(icone);
    corpo->addLayout(textos, 1);
    corpo->addWidget(botoes, 0, Qt::AlignTop);

    auto* raiz = new QVBoxLayout(this);
    raiz->addLayout(corpo);
    raiz->setSizeConstraint(QLayout::SetFixedSize);
}
