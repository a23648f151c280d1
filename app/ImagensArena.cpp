#include "app/ImagensArena.h"
#include "sim/CKeldoDoc.h"
#include <QPainter>
#include <cmath>

namespace keldo::app {

using namespace keldo::sim;

namespace ImagensArena {

namespace {

const QColor contorno(25, 25, 25);

// Fill colour by the number of m alleles at the Morte locus: none, one, two.
QColor corAlelos(int alelosM) {
    static const QColor cores[3] = {QColor(40, 170, 50), QColor(220, 35, 35), QColor(35, 80, 230)};
    return cores[alelosM];
}

// Pixel centres are at (i + 0.5, j + 0.5); shapes are tested there, with no
// smoothing, so that every pixel is either the shape's colour or pure white.
double distancia(int i, int j, double cx, double cy, double rx = 1.0, double ry = 1.0) {
    const double dx = (i + 0.5 - cx) / rx;
    const double dy = (j + 0.5 - cy) / ry;
    return std::sqrt(dx * dx + dy * dy);
}

// A filled disc (or ellipse) with a one-pixel outline and a small highlight.
void disco(QImage& img, double cx, double cy, double rx, double ry, QColor preenchimento,
           QColor borda) {
    const QColor brilho = preenchimento.lighter(160);
    for (int j = 0; j < ladoImagem; ++j) {
        for (int i = 0; i < ladoImagem; ++i) {
            const double d = distancia(i, j, cx, cy, rx, ry);
            if (d > 1.0)
                continue;
            const double limiteBorda = 1.0 - 1.0 / std::min(rx, ry);
            QColor cor = d > limiteBorda ? borda : preenchimento;
            if (d <= limiteBorda && distancia(i, j, cx - rx * 0.35, cy - ry * 0.35) < 1.6)
                cor = brilho;
            img.setPixelColor(i, j, cor);
        }
    }
}

void pixels(QImage& img, std::initializer_list<QPoint> pontos, QColor cor) {
    for (const QPoint& p : pontos)
        img.setPixelColor(p, cor);
}

void retangulo(QImage& img, int x0, int y0, int x1, int y1, QColor cor) {
    for (int j = y0; j <= y1; ++j)
        for (int i = x0; i <= x1; ++i)
            img.setPixelColor(i, j, cor);
}

// Male: a round body with an arrow pointing up and to the right.
QImage macho(int alelosM) {
    QImage img(ladoImagem, ladoImagem, QImage::Format_RGB32);
    img.fill(corTransparente());
    // Arrow shaft first, so that the body covers its inner end.
    for (int k = 0; k < 6; ++k) {
        img.setPixelColor(11 + k, 7 - k, contorno);
        img.setPixelColor(12 + k, 7 - k, contorno);
    }
    retangulo(img, 12, 1, 17, 2, contorno);
    retangulo(img, 16, 1, 17, 6, contorno);
    disco(img, 8.0, 11.0, 6.6, 6.6, corAlelos(alelosM), contorno);
    return img;
}

// Female: a round body with a cross below it.
QImage femea(int alelosM) {
    QImage img(ladoImagem, ladoImagem, QImage::Format_RGB32);
    img.fill(corTransparente());
    retangulo(img, 9, 12, 10, 18, contorno);
    retangulo(img, 6, 15, 13, 16, contorno);
    disco(img, 10.0, 7.0, 6.6, 6.6, corAlelos(alelosM), contorno);
    return img;
}

// Food: yellow grains on a dark green leaf.
QImage comida() {
    QImage img(ladoImagem, ladoImagem, QImage::Format_RGB32);
    img.fill(corTransparente());
    const QColor verde(20, 100, 20);
    const QColor amarelo(255, 225, 0);
    disco(img, 9.5, 9.5, 7.2, 7.2, verde, QColor(0, 55, 0));
    // The highlight of the leaf is dropped: the grains are the bright part.
    for (int j = 0; j < ladoImagem; ++j)
        for (int i = 0; i < ladoImagem; ++i)
            if (img.pixelColor(i, j) == verde.lighter(160))
                img.setPixelColor(i, j, verde);
    retangulo(img, 8, 8, 10, 10, amarelo);
    pixels(img, {{9, 7}, {7, 9}, {11, 9}, {9, 11}}, amarelo);
    pixels(img, {{5, 5}, {6, 5}, {5, 6}, {13, 5}, {12, 5}, {13, 6}}, amarelo);
    pixels(img, {{5, 13}, {5, 12}, {6, 13}, {13, 13}, {12, 13}, {13, 12}}, amarelo);
    return img;
}

// Egg: an olive oval with yellow speckles.
QImage ovoImagem() {
    QImage img(ladoImagem, ladoImagem, QImage::Format_RGB32);
    img.fill(corTransparente());
    const QColor oliva(128, 128, 0);
    disco(img, 9.5, 9.5, 5.8, 8.2, oliva, QColor(70, 70, 0));
    const QColor amarelo(240, 220, 50);
    pixels(img, {{10, 6}, {11, 6}, {7, 9}, {8, 9}, {11, 11}, {12, 11}, {11, 12}, {8, 13}, {9, 14}},
           amarelo);
    return img;
}

// One obstacle, kept strictly inside its rectangle: large blocks are hedges
// (greens), small ones are pools of water (cyans).
void desenharObstaculo(QImage& img, const Rect& r) {
    const int largura = r.right - r.left;
    const int altura = r.bottom - r.top;
    const bool grande = std::min(largura, altura) >= 40;
    const QColor borda = grande ? QColor(0, 90, 30) : QColor(0, 110, 130);
    const QColor fundo = grande ? QColor(40, 150, 60) : QColor(0, 190, 200);
    const QColor luz = grande ? QColor(130, 210, 120) : QColor(150, 245, 245);
    const QColor sombra = grande ? QColor(20, 115, 40) : QColor(0, 150, 170);
    QPainter p(&img);
    p.fillRect(r.left, r.top, largura, altura, borda);
    p.fillRect(r.left + 1, r.top + 1, largura - 2, altura - 2, sombra);
    p.fillRect(r.left + 1, r.top + 1, largura - 3, altura - 3, luz);
    p.fillRect(r.left + 2, r.top + 2, largura - 4, altura - 4, fundo);
    // A little texture: leaves on the hedges, ripples on the water.
    for (int y = r.top + 5; y < r.bottom - 4; y += 6) {
        const int desvio = ((y - r.top) / 6) % 2 ? 3 : 0;
        for (int x = r.left + 4 + desvio; x < r.right - 5; x += 7) {
            if (grande) {
                p.fillRect(x, y, 2, 2, sombra);
                p.fillRect(x + 1, y - 1, 1, 1, luz);
            } else {
                p.fillRect(x, y, 3, 1, luz);
            }
        }
    }
}

} // namespace

QImage imagemItem(int indice) {
    switch (indice) {
    case machoMm:
        return macho(1);
    case machoMM:
        return macho(0);
    case machomm:
        return macho(2);
    case femeaMm:
        return femea(1);
    case femeaMM:
        return femea(0);
    case femeamm:
        return femea(2);
    case alimento:
        return comida();
    default:
        return ovoImagem();
    }
}

QImage comTransparencia(const QImage& imagem, QColor transparente) {
    QImage saida = imagem.convertToFormat(QImage::Format_ARGB32);
    const QRgb chave = transparente.rgb() & 0xFFFFFF;
    for (int j = 0; j < saida.height(); ++j) {
        auto* linha = reinterpret_cast<QRgb*>(saida.scanLine(j));
        for (int i = 0; i < saida.width(); ++i)
            linha[i] = (linha[i] & 0xFFFFFF) == chave ? 0 : (linha[i] | 0xFF000000u);
    }
    return saida.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

char nivelDoFundo(int bitmapFundo) {
    switch (bitmapFundo) {
    case 145:
        return 'r';
    case 141:
        return 'f';
    case 142:
        return 'm';
    default:
        return 'd';
    }
}

QImage imagemFundo(int bitmapFundo) {
    QImage img(larguraFundo, alturaFundo, QImage::Format_RGB32);
    img.fill(corCampo());
    const char nivel = nivelDoFundo(bitmapFundo);
    for (int metade = 0; metade < 2; ++metade)
        for (const Rect& r : CKeldoDoc::tabelaObstaculos(nivel, metade))
            desenharObstaculo(img, r);
    return img;
}

QImage amostraObstaculo(bool grande) {
    // A hedge is any block at least 40 pixels across; the pool is a small one.
    const int lado = grande ? 40 : 24;
    const int margem = 2;
    QImage img(lado + 2 * margem, lado + 2 * margem, QImage::Format_RGB32);
    img.fill(corCampo());
    desenharObstaculo(img, Rect{margem, margem, margem + lado, margem + lado});
    return img;
}

} // namespace ImagensArena

} // namespace keldo::app
