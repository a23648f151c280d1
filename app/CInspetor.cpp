#include "app/CInspetor.h"
#include "sim/CKeldoDoc.h"
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QScreen>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

namespace keldo::app {

using namespace keldo::sim;

namespace {
// Arena units to pixels as the view places items (without its jitter).
int paraPixel(int tamanho, float unidades) {
    return static_cast<int>(static_cast<float>(tamanho) * unidades / 99.0f);
}

QString letras(uint16_t haplotipo) {
    QStringList alelos;
    for (int k = 0; k < Genoma::numAutossomicos; ++k) {
        const auto g = static_cast<Genoma::Gene>(k);
        alelos << QString::fromUtf8(Genoma::letra(g, Genoma::alelo(g, haplotipo)));
    }
    return alelos.join(QLatin1Char(' '));
}

QString letraSexual(Genoma::Gene g, int codigo) {
    return QString::fromUtf8(Genoma::letra(g, codigo));
}

QString cromossomosSexuais(const SpecX& s) {
    const QString x = QStringLiteral("X ") + letraSexual(Genoma::Detecta, s.detecXBit());
    if (s.sexo())
        return x + QStringLiteral(", Y ") + letraSexual(Genoma::Cuida, s.detecXCuidaYBit());
    return x + QStringLiteral(", X ") + letraSexual(Genoma::Detecta, s.detecXCuidaYBit());
}

QString fenotipo(const SpecX& s) {
    QStringList partes;
    partes << QStringLiteral("enxerga a %1").arg(s.visao)
           << QStringLiteral("reproduz com energia a partir de %1").arg(s.limiarReproducao)
           << QStringLiteral("morre com energia até %1").arg(s.limiarMorte)
           << (s.compartilha ? QStringLiteral("partilha o alimento")
                             : QStringLiteral("não partilha"))
           << (s.lutador ? QStringLiteral("luta") : QStringLiteral("não luta"))
           << QStringLiteral("inteligência %1%").arg(s.inteligencia);
    if (s.sexo())
        partes << (s.detectaCuida() ? QStringLiteral("cuida dos filhotes")
                                    : QStringLiteral("não cuida dos filhotes"));
    else
        partes << (s.detectaCuida() ? QStringLiteral("detecta o pai que não cuida")
                                    : QStringLiteral("não detecta"));
    // Two lines: the thresholds, then the behaviour, so the tooltip stays narrow.
    return partes.mid(0, 3).join(QStringLiteral("; ")) + QStringLiteral(";\n  ") +
           partes.mid(3).join(QStringLiteral("; "));
}
} // namespace

CInspetor::CInspetor(const CKeldoDoc& d, QWidget* v) : QObject(v), doc(d), vista(v) {
    vista->setMouseTracking(true);
    vista->installEventFilter(this);
}

const SpecX* CInspetor::individuoEm(QPoint pixel) const {
    const int w = vista->width();
    const int h = vista->height();
    const SpecX* melhor = nullptr;
    int menor = raioPixels * raioPixels + 1;
    for (const SpecX& s : doc.vivos()) {
        if (!s.vivo())
            continue;
        const int dx = paraPixel(w, s.x) - pixel.x();
        const int dy = paraPixel(h, s.y) - pixel.y();
        const int d2 = dx * dx + dy * dy;
        if (d2 < menor) { // the first drawn wins a tie, as it lies below
            menor = d2;
            melhor = &s;
        }
    }
    return melhor;
}

QString CInspetor::texto(const SpecX& s) {
    const QString sexo = s.sexo() ? QStringLiteral("Macho") : QStringLiteral("Fêmea");
    const QString fase = s.adulto() ? QStringLiteral("adulto") : QStringLiteral("ovo");
    return QStringLiteral("Indivíduo %1 (pai %2, mãe %3)\n%4, %5\nGeração %6, energia %7\n"
                          "Haplótipo paterno: %8\nHaplótipo materno: %9\n"
                          "Cromossomos sexuais: %10\nFenótipo: %11")
        .arg(s.id)
        .arg(s.idPai)
        .arg(s.idMae)
        .arg(sexo, fase)
        .arg(s.geracao)
        .arg(s.energia)
        .arg(letras(s.genotipoP), letras(s.genotipoM), cromossomosSexuais(s), fenotipo(s));
}

void CInspetor::mostrar(QPoint pixel) {
    const SpecX* s = individuoEm(pixel);
    const QString novo = s ? texto(*s) : QString();
    if (novo == atual && QToolTip::isVisible() == !novo.isEmpty())
        return;
    atual = novo;
    if (atual.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(vista->mapToGlobal(pixel), atual, vista);
    posicionarDica(pixel);
}

QWidget* CInspetor::dica() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QTipLabel") && w->isVisible())
            return w;
    return nullptr;
}

QPoint CInspetor::lugarDaDica(QPoint mouse, QSize tamanho, const QRect& area) {
    constexpr int abaixo = 16; // clear of the pointer's arrow
    constexpr int acima = 4;
    if (mouse.y() + abaixo + tamanho.height() <= area.bottom() + 1)
        return {mouse.x() + 2, mouse.y() + abaixo};
    return {mouse.x() + 2, mouse.y() - acima - tamanho.height()};
}

// Qt puts the tip below the pointer and only keeps it on the screen.
void CInspetor::posicionarDica(QPoint pixel) {
    QWidget* janela = dica();
    if (!janela)
        return;
    const QRect area(vista->mapToGlobal(QPoint(0, 0)), vista->size());
    QPoint lugar = lugarDaDica(vista->mapToGlobal(pixel), janela->size(), area);
    if (const QScreen* tela = vista->screen()) {
        const QRect r = tela->availableGeometry();
        lugar.setX(
            std::clamp(lugar.x(), r.left(), std::max(r.left(), r.right() + 1 - janela->width())));
    }
    janela->move(lugar);
}

void CInspetor::seguir() {
    if (vista->underMouse())
        mostrar(vista->mapFromGlobal(QCursor::pos()));
}

bool CInspetor::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == vista) {
        switch (evento->type()) {
        case QEvent::MouseMove:
            mostrar(static_cast<QMouseEvent*>(evento)->position().toPoint());
            break;
        case QEvent::Leave:
            atual.clear();
            QToolTip::hideText();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(objeto, evento);
}

} // namespace keldo::app
