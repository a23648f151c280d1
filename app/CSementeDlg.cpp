#include "app/CSementeDlg.h"
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace keldo::app {

CSementeDlg::CSementeDlg(std::optional<uint32_t> semente, QWidget* pai)
    : QDialog(pai), atual(semente) {
    setWindowTitle(QStringLiteral("Semente do mundo"));
    auto* layout = new QVBoxLayout(this);
    auto* explicacao = new QLabel(this);
    explicacao->setObjectName(QStringLiteral("textoSemente"));
    explicacao->setWordWrap(true);
    explicacao->setTextInteractionFlags(Qt::TextSelectableByMouse);
    explicacao->setText(
        semente ? QStringLiteral("Este mundo foi criado com a semente %1. Com os mesmos "
                                 "parâmetros, a mesma semente cria o mesmo mundo, aqui ou em "
                                 "keldo-run --seed %1.")
                      .arg(*semente)
                : QStringLiteral("Este mundo foi lido de um projeto: a semente que o criou não "
                                 "é conhecida."));
    layout->addWidget(explicacao);

    auto* formulario = new QFormLayout;
    campo = new QLineEdit(this);
    campo->setObjectName(QStringLiteral("campoSemente"));
    campo->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,10}")), campo));
    if (semente)
        campo->setText(QString::number(*semente));
    formulario->addRow(QStringLiteral("&Semente:"), campo);
    layout->addLayout(formulario);

    auto* botoes = new QDialogButtonBox(this);
    auto* mesmo =
        botoes->addButton(QStringLiteral("&Mesmo mundo de novo"), QDialogButtonBox::ActionRole);
    mesmo->setObjectName(QStringLiteral("botaoMesmoMundo"));
    mesmo->setEnabled(semente.has_value());
    criarDigitada =
        botoes->addButton(QStringLiteral("&Criar com esta semente"), QDialogButtonBox::ActionRole);
    criarDigitada->setObjectName(QStringLiteral("botaoCriarComSemente"));
    botoes->addButton(QStringLiteral("&Fechar"), QDialogButtonBox::RejectRole);
    layout->addWidget(botoes);

    connect(mesmo, &QPushButton::clicked, this, [this] { pedir(atual); });
    connect(criarDigitada, &QPushButton::clicked, this, [this] { pedir(sementeDigitada()); });
    connect(campo, &QLineEdit::textChanged, this,
            [this] { criarDigitada->setEnabled(sementeDigitada().has_value()); });
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    criarDigitada->setEnabled(sementeDigitada().has_value());
}

std::optional<uint32_t> CSementeDlg::sementeDigitada() const {
    bool ok = false;
    const qulonglong v = campo->text().toULongLong(&ok);
    if (!ok || v > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<uint32_t>(v);
}

void CSementeDlg::pedir(std::optional<uint32_t> semente) {
    if (!semente)
        return;
    accept();
    emit criarMundo(*semente);
}

} // namespace keldo::app
