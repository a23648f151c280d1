#pragma once
#include <QFont>
#include <QImage>
#include <array>

class QPainter;

namespace keldo::app {

// Energy numbers of the arena. A world may show thousands of them on every
// frame, so the digits are rendered once per colour and then copied.
class RotulosEnergia {
  public:
    enum Cor { preto = 0, ciano = 1 };

    explicit RotulosEnergia(const QFont& fonte);

    // Writes the decimal text of `valor` with the top-left corner of its text
    // cell at (x, y); the background shows through between the strokes.
    void escrever(QPainter& p, int x, int y, int valor, Cor cor) const;

    int alturaCelula() const { return altura; }

  private:
    // Glyphs 0..9 are the digits, 10 is the minus sign.
    static constexpr int numGlifos = 11;
    std::array<std::array<QImage, numGlifos>, 2> glifos;
    std::array<int, numGlifos> avancos{};
    int altura = 0;
};

} // namespace keldo::app
