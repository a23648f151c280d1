#pragma once
#include <QIcon>
#include <QImage>

namespace keldo::gui {

// The program icon of keldo and keldoge: the picture of resources/keldo.svg
// (the desktop entries' icon), painted here so that no image plugin is needed.
namespace IconePrograma {

// The picture at `lado` × `lado` pixels.
QImage imagem(int lado);
// The icon at the sizes windows, title bars and the About box use.
QIcon icone();

} // namespace IconePrograma

} // namespace keldo::gui
