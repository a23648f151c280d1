#include "app/CKeldoView.h"
#include "sim/CKeldoDoc.h"
#include <QPainter>

namespace keldo::app {

using namespace keldo::sim;

namespace {
QFont fonteEnergia() {
    QFont fonte(QStringLiteral("DejaVu Sans"));
    fonte.setPixelSize(10);
    fonte.setBold(true);
    return fonte;
}

// Arena units (0..99) to pixels, in floating point and truncated toward zero.
int paraPixel(int tamanho, float unidades) {
    return static_cast<int>(static_cast<float>(tamanho) * unidades / 99.0f);
}
} // namespace

CKeldoView::CKeldoView(CKeldoDoc& documento, QWidget* pai)
    : QWidget(pai), doc(documento), rotulos(fonteEnergia()) {
    for (int i = 0; i < ImagensArena::numImagens; ++i)
        imagens[i] = QPixmap::fromImage(ImagensArena::comTransparencia(
            ImagensArena::imagemItem(i), ImagensArena::corTransparente()));
    // Every frame covers the whole area: no erasing, so no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFixedSize(ImagensArena::larguraFundo, ImagensArena::alturaFundo);
}

const QPixmap& CKeldoView::fundo(int bitmapFundo) {
    auto it = fundos.find(bitmapFundo);
    if (it == fundos.end())
        it = fundos.emplace(bitmapFundo, QPixmap::fromImage(ImagensArena::imagemFundo(bitmapFundo)))
                 .first;
    return it->second;
}

void CKeldoView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    desenhar(p);
}

void CKeldoView::desenhar(QPainter& p) {
    doc.definirArena(Rect{0, 0, width(), height()});
    const int w = doc.arena().right;
    const int h = doc.arena().bottom;
    p.drawPixmap(0, 0, fundo(doc.bitmapFundo()));
    const bool mostrar = doc.parametros().mostrarEnergia != 0;
    for (const FoodX& a : doc.alimentos()) {
        desenharItem(p, a.image, a.x, a.y, w, h);
        if (mostrar)
            rotulos.escrever(p, paraPixel(w, a.x) - 14, paraPixel(h, a.y + 1.0f), a.valorEnergetico,
                             RotulosEnergia::preto);
    }
    for (const SpecX& s : doc.vivos()) {
        // The image is drawn after the number, so it covers its own number.
        if (mostrar)
            rotulos.escrever(p, paraPixel(w, s.x) - 14, paraPixel(h, s.y + 1.0f), s.energia,
                             s.energia < s.limiarReproducao ? RotulosEnergia::preto
                                                            : RotulosEnergia::ciano);
        desenharItem(p, CKeldoDoc::indiceImagem(s), s.x, s.y, w, h);
    }
}

void CKeldoView::desenharItem(QPainter& p, int indiceImagem, float x, float y, int w, int h) {
    const int jy = doc.gerador().proximo() % 2;
    const int jx = doc.gerador().proximo() % 2;
    if (indiceImagem < 0 || indiceImagem >= ImagensArena::numImagens)
        return;
    p.drawPixmap(jx + paraPixel(w, x) - 10, jy + paraPixel(h, y) - 10, imagens[indiceImagem]);
}

} // namespace keldo::app
