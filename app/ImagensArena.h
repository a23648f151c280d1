#pragma once
#include <QColor>
#include <QImage>

namespace keldo::app {

// The pictures of the arena, drawn in code: the eight 19 × 19 item images and
// the four 640 × 480 backgrounds, whose obstacles come straight from the
// document's obstacle tables so that picture and simulation always agree.
namespace ImagensArena {

constexpr int ladoImagem = 19;
constexpr int larguraFundo = 640;
constexpr int alturaFundo = 480;
constexpr int numImagens = 8;

// Indices of the item images, as the document hands them out.
enum Imagem {
    machoMm = 0,
    machoMM = 1,
    machomm = 2,
    femeaMm = 3,
    femeaMM = 4,
    femeamm = 5,
    alimento = 6,
    ovo = 7
};

// The transparent colour of the item images.
inline QColor corTransparente() {
    return QColor(255, 255, 255);
}
// The open field of every background.
inline QColor corCampo() {
    return QColor(153, 204, 255);
}

// Item image `indice` (0..7) on pure white, RGB32.
QImage imagemItem(int indice);

// The image with its pixels of colour `transparente` made fully transparent and
// every other pixel fully opaque (ARGB32 premultiplied), ready to be painted.
QImage comTransparencia(const QImage& imagem, QColor transparente);

// Obstacle level code of a background id: 145 'r' ("0"), 141 'f' ("12"),
// 142 'm' ("15"), anything else 'd' ("30").
char nivelDoFundo(int bitmapFundo);

// The background picture of `bitmapFundo`: the field and the obstacles of its level.
QImage imagemFundo(int bitmapFundo);

// One obstacle on a little field, as the backgrounds draw it: a hedge (the
// large blocks) or a pool of water (the small ones). For a legend.
QImage amostraObstaculo(bool grande);

} // namespace ImagensArena

} // namespace keldo::app
