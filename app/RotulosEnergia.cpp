#include "app/RotulosEnergia.h"
#include <QFontMetrics>
#include <QPainter>
#include <cstdio>

namespace keldo::app {

RotulosEnergia::RotulosEnergia(const QFont& fonte) {
    const QFontMetrics medidas(fonte);
    altura = medidas.height();
    const QColor cores[2] = {QColor(0, 0, 0), QColor(0, 255, 255)};
    for (int g = 0; g < numGlifos; ++g) {
        const QChar caractere = g < 10 ? QChar(u'0' + g) : QChar(u'-');
        avancos[g] = medidas.horizontalAdvance(caractere);
        for (int c = 0; c < 2; ++c) {
            // A margin on both sides keeps strokes that overhang their advance.
            QImage img(avancos[g] + 4, altura, QImage::Format_ARGB32_Premultiplied);
            img.fill(Qt::transparent);
            QPainter p(&img);
            p.setFont(fonte);
            p.setPen(cores[c]);
            p.drawText(2, medidas.ascent(), QString(caractere));
            glifos[c][g] = img;
        }
    }
}

void RotulosEnergia::escrever(QPainter& p, int x, int y, int valor, Cor cor) const {
    char texto[16];
    const int n = std::snprintf(texto, sizeof texto, "%d", valor);
    for (int i = 0; i < n; ++i) {
        const int g = texto[i] == '-' ? 10 : texto[i] - '0';
        p.drawImage(x - 2, y, glifos[cor][g]);
        x += avancos[g];
    }
}

} // namespace keldo::app
