#pragma once
#include "app/ImagensArena.h"
#include "app/RotulosEnergia.h"
#include <QPixmap>
#include <QWidget>
#include <array>
#include <map>

class QPainter;
namespace keldo::sim {
class CKeldoDoc;
} // namespace keldo::sim

namespace keldo::app {

using keldo::sim::CKeldoDoc;

// The arena: the background of the obstacle level, the food, then every
// living individual and egg, with their energies on request. It owns the
// eight item images: a food item names its own, an individual's follows from
// its state as it is painted (`CKeldoDoc::indiceImagem`).
class CKeldoView : public QWidget {
    Q_OBJECT
  public:
    explicit CKeldoView(CKeldoDoc& documento, QWidget* pai = nullptr);

    // Composes one frame of the arena with `p` (the widget's paint, or an
    // image for a picture or a test). Takes two draws of the simulation's
    // generator for every item painted.
    void desenhar(QPainter& p);

    // The item image `indice` as painted, white already transparent.
    const QPixmap& imagem(int indice) const { return imagens[indice]; }
    // The background picture of `bitmapFundo` (built once, then kept).
    const QPixmap& fundo(int bitmapFundo);

  protected:
    void paintEvent(QPaintEvent* evento) override;

  private:
    // Draws an item's image roughly centred on its pixel position, trembling
    // by one pixel: the jitter comes from the simulation's generator.
    void desenharItem(QPainter& p, int indiceImagem, float x, float y, int w, int h);

    CKeldoDoc& doc;
    std::array<QPixmap, ImagensArena::numImagens> imagens;
    std::map<int, QPixmap> fundos;
    RotulosEnergia rotulos;
};

} // namespace keldo::app
