#include "gui/CAboutDlg.h"
#include "gui/Ajuda.h"
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace keldo::gui {

CAboutDlg::CAboutDlg(const Conteudo& c, QWidget* pai) : QDialog(pai) {
    setWindowTitle(c.titulo);
    setModal(true);
    abrirManual = [] { return Ajuda::iniciar(); };

    iconeRotulo = new QLabel(this);
    if (!c.icone.isNull())
        iconeRotulo->setPixmap(c.icone.pixmap(32, 32));
    iconeRotulo->setAlignment(Qt::AlignTop);

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

    manualRotulo = new QLabel(this);
    manualRotulo->setObjectName(QStringLiteral("manual"));
    manualRotulo->setTextFormat(Qt::RichText);
    manualRotulo->setText(QStringLiteral("<a href=\"manual\">%1</a>").arg(textoManual));
    manualRotulo->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                          Qt::LinksAccessibleByKeyboard);
    manualRotulo->setOpenExternalLinks(false);
    manualRotulo->setCursor(Qt::PointingHandCursor);
    connect(manualRotulo, &QLabel::linkActivated, this, [this] {
        if (abrirManual)
            abrirManual();
    });

    auto* textos = new QVBoxLayout;
    textos->addLayout(linhaVersao);
    textos->addWidget(credito1);
    textos->addWidget(credito2);
    textos->addWidget(manualRotulo);

    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    ok = botoes->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* corpo = new QHBoxLayout;
    corpo->addWidget(iconeRotulo);
    corpo->addLayout(textos, 1);
    corpo->addWidget(botoes, 0, Qt::AlignTop);

    auto* raiz = new QVBoxLayout(this);
    raiz->addLayout(corpo);
    raiz->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace keldo::gui
