#pragma once
#include <QRect>
#include <QSize>

namespace keldo::app {

// Where a window beside the main window goes so that it covers none of it:
// to its right when the screen has room for `minimo` there, else below it,
// else in the largest free strip around it (right, below, left, above); in
// each case as large as `desejado` allows and the strip holds. All
// rectangles are frames, in screen coordinates.
namespace PosicaoJanela {

QRect aoLado(const QRect& tela, const QRect& principal, const QSize& desejado, const QSize& minimo);

// Where the main window's frame should stand so that a strip to its right
// (else below it) holds `minimo`: where it is when some strip already does,
// else moved left (else up) just far enough for `desejado`, never past the
// screen's edge. Unchanged when even the screen's corner leaves no room.
QPoint lugarDoPrincipal(const QRect& tela, const QRect& principal, const QSize& desejado,
                        const QSize& minimo);

} // namespace PosicaoJanela

} // namespace keldo::app
