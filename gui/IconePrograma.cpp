#include "gui/IconePrograma.h"
#include <QPainter>

namespace keldo::gui {

namespace IconePrograma {

namespace {

// The shapes of keldo.svg, in its 64 × 64 units.
void desenhar(QPainter& p) {
    const QColor contorno(0x19, 0x19, 0x19);
    const QColor verdeEscuro(0x00, 0x5a, 0x1e);
    p.setPen(QPen(verdeEscuro, 2));
    p.setBrush(QColor(0x99, 0xcc, 0xff));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    p.setPen(QPen(verdeEscuro, 1.5));
    p.setBrush(QColor(0x28, 0x96, 0x3c));
    p.drawRect(QRectF(40, 8, 16, 16));

    // The female's cross and the male's arrow.
    p.setPen(QPen(contorno, 2.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(19, 30), QPointF(19, 44));
    p.drawLine(QPointF(12, 38), QPointF(26, 38));
    p.drawLine(QPointF(43, 37), QPointF(55, 25));
    const QPointF seta[] = {{46, 25}, {55, 25}, {55, 34}};
    p.drawPolyline(seta, 3);

    p.setPen(QPen(contorno, 2));
    p.setBrush(QColor(0xdc, 0x23, 0x23));
    p.drawEllipse(QPointF(19, 21), 10, 10);
    p.setBrush(QColor(0x23, 0x50, 0xe6));
    p.drawEllipse(QPointF(37, 44), 11, 11);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf0, 0x8c, 0x8c));
    p.drawEllipse(QPointF(15, 17), 2.5, 2.5);
    p.setBrush(QColor(0x8c, 0xa4, 0xf5));
    p.drawEllipse(QPointF(33, 40), 2.5, 2.5);
}

} // namespace

QImage imagem(int lado) {
    QImage img(lado, lado, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 64.0, lado / 64.0);
    desenhar(p);
    return img;
}

QIcon icone() {
    QIcon i;
    for (int lado : {16, 24, 32, 48, 64, 128})
        i.addPixmap(QPixmap::fromImage(imagem(lado)));
    return i;
}

} // namespace IconePrograma

} // namespace keldo::gui
