#pragma once
#include "model/Geometry.h"
#include "sim/indices/MapaObstaculos.h"
#include <span>
#include <string>

namespace keldo::indices {

using keldo::model::Rect;

// The obstacles of a world: the level's code and background picture, its
// rectangles, and the tests of a point and of a path against them. The
// straight scan over the rectangles is the reference; the obstacle map
// answers the same in constant time and is rebuilt when the arena changes.
class ObstaculosNivel {
  public:
    // The level of a `nivelObstaculos` value ("0", "12", "15", anything else 30).
    void escolher(const std::string& nivel);
    // Obstacles block only once built; a world being cleared has none.
    void construir();
    void desfazer();
    char codigoNivel() const { return codigo; }
    int bitmapFundo() const { return fundo; }
    // Scan the rectangles instead of asking the map (the reference path).
    void definirPorVarredura(bool varredura) {
        porVarredura = varredura;
        mapaPronto = false;
    }

    // The rectangle holding the grid point (x, y), or null. Every step of
    // every individual asks, nearly always of a free point: inline, the map's
    // grid answers that with one look-up.
    const Rect* pontoEmObstaculo(int x, int y, const Rect& arena) const {
        if (mapaValePara(arena) && !mapa.ocupado(x, y))
            return nullptr;
        return pontoEmObstaculoDevagar(x, y, arena);
    }
    int caminhoBloqueado(int x1, int y1, int x2, int y2, const Rect& arena) const {
        if (!construidos)
            return 0;
        if (mapaValePara(arena))
            return mapa.caminhoBloqueado(x1, y1, x2, y2) ? 1 : 0;
        return caminhoBloqueadoDevagar(x1, y1, x2, y2, arena);
    }
    // The map the indexed searches test paths with; null when nothing blocks
    // or on the reference path.
    const MapaObstaculos* mapaDaFase(const Rect& arena) const;

    // The rectangles of a level code ('r', 'f', 'm', 'd'); metade 0 = left, 1 = right.
    static std::span<const Rect> tabela(char codigo, int metade);

  private:
    bool mapaValePara(const Rect& arena) const {
        return mapaPronto && mapa.valeraPara(arena.right, arena.bottom);
    }
    void atualizarMapa(const Rect& arena) const;
    const Rect* pontoEmObstaculoDevagar(int x, int y, const Rect& arena) const;
    int caminhoBloqueadoDevagar(int x1, int y1, int x2, int y2, const Rect& arena) const;
    char codigo = 'f';
    int fundo = 141;
    bool construidos = false;
    bool porVarredura = false;
    mutable MapaObstaculos mapa;
    mutable char mapaCodigo = 0;
    // The map answers for the level and obstacles in force (built, not the
    // reference path); every change of those clears it, atualizarMapa sets it.
    mutable bool mapaPronto = false;
};

} // namespace keldo::indices
