#pragma once
#include <QApplication>

namespace keldo::gui {

// The wait cursor for the life of a long step (a load, a save, a change to
// many rows); restored however the step ends.
class CursorEspera {
  public:
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};

} // namespace keldo::gui
