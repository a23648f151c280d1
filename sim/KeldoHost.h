#pragma once
#include "model/Geometry.h"
#include <cstdint>
#include <string>

namespace keldo::model {
class SpecX;
class FoodX;
} // namespace keldo::model

namespace keldo::sim {

using keldo::model::FoodX;
using keldo::model::Rect;
using keldo::model::SpecX;

// What a document asks of the program that shows it. A document without a
// host (keldo-run, tests) registers no images, redraws nothing and saves
// periodically to its current path only.
class KeldoHost {
  public:
    virtual ~KeldoHost() = default;

    // Client rectangle of the arena view, read when a world is made or loaded.
    virtual Rect areaCliente() const { return Rect{0, 0, 640, 480}; }
    // Whether food items get drawing images (the editor's hooks do nothing).
    virtual bool registraImagens() const { return true; }
    // Status line (pane 0), UTF-8.
    virtual void definirStatus(const std::string& texto) { (void)texto; }
    // Redraw request to the views.
    virtual void atualizarVistas() {}
    // The run timer around a periodic save.
    virtual void pararTimer() {}
    virtual void iniciarTimer(int milissegundos) { (void)milissegundos; }
    // The save command: save under the current path or ask for one. Returns success.
    virtual bool salvarDocumento() = 0;
    // The document stopped the run by itself (state 2): stop the timer and tell
    // the user why (UTF-8).
    virtual void execucaoParada(const std::string& motivo) { (void)motivo; }
    // Milliseconds of a monotonic tick counter (real-time throttle).
    virtual uint32_t contadorTicks() const;
};

} // namespace keldo::sim
