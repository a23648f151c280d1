#include "gui/FormGenotipo.h"
#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>

namespace keldo::gui {

namespace {

constexpr int larguraBotaoAlelo = 30;
constexpr int alturaBotaoAlelo = 20;

// A pressed allele must stand out from the others at a glance.
const QString estiloBotaoAlelo = QStringLiteral(
    "QPushButton { border: 1px solid palette(mid); border-radius: 2px;"
    " background: palette(button); }"
    "QPushButton:checked { background: palette(highlight); color: palette(highlighted-text);"
    " border-color: palette(dark); font-weight: bold; }"
    "QPushButton:disabled { color: palette(mid); }"
    "QPushButton:checked:disabled { background: palette(midlight); color: palette(dark); }");

QAbstractButton* criarBotao(const QString& texto, FormGenotipo::Estilo estilo, QWidget* dono) {
    if (estilo == FormGenotipo::Estilo::botaoAlelo) {
        auto* p = new QPushButton(texto, dono);
        p->setCheckable(true);
        p->setFixedSize(larguraBotaoAlelo, alturaBotaoAlelo);
        p->setFocusPolicy(Qt::TabFocus);
        p->setStyleSheet(estiloBotaoAlelo);
        return p;
    }
    auto* radio = new QRadioButton(texto, dono);
    if (estilo == FormGenotipo::Estilo::radioAlelo) {
        // As wide as the widest allele, so that the columns line up from gene to gene.
        radio->setMinimumWidth(QRadioButton(QStringLiteral("V4")).sizeHint().width() + 6);
    }
    return radio;
}

} // namespace

QButtonGroup* FormGenotipo::grupo(const QStringList& textos, Estilo estilo, QWidget* dono,
                                  const std::vector<int>& ids, const Nomear& nomear,
                                  const Colocar& colocar) const {
    auto* g = new QButtonGroup(dono);
    for (int i = 0; i < textos.size(); ++i) {
        const int id = ids.empty() ? i : ids[static_cast<size_t>(i)];
        QAbstractButton* b = criarBotao(textos[i], estilo, dono);
        b->setObjectName(nomear(i, id));
        g->addButton(b, id);
        colocar(b, i);
    }
    g->buttons().constFirst()->setChecked(true);
    return g;
}

void FormGenotipo::aplicarSexo(bool macho) const {
    for (QWidget* w : soFemea)
        w->setEnabled(!macho);
    for (QWidget* w : soMacho)
        w->setEnabled(macho);
}

} // namespace keldo::gui
