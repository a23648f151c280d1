#pragma once
#include <QObject>
#include <QPoint>
#include <QString>

class QWidget;
namespace keldo::sim {
class CKeldoDoc;
} // namespace keldo::sim
namespace keldo::model {
struct SpecX;
} // namespace keldo::model

namespace keldo::app {

using keldo::model::SpecX;
using keldo::sim::CKeldoDoc;

// The arena's inspector: the mouse over an individual shows who it is, its
// genotype in allele letters and its phenotype in words, in a tooltip that
// follows the nearest individual at each redraw while the run goes on. It
// only reads the world: no draw of the generator, no repaint of the arena.
class CInspetor : public QObject {
    Q_OBJECT
  public:
    CInspetor(const CKeldoDoc& doc, QWidget* vista);

    // The living individual (egg or adult) drawn nearest to `pixel` within
    // `raioPixels`, or null.
    const SpecX* individuoEm(QPoint pixel) const;
    static QString texto(const SpecX& individuo);
    // Shows the tooltip again for whoever is under the mouse now.
    void seguir();
    // The tooltip's text as last shown (empty when none).
    const QString& textoAtual() const { return atual; }
    // The tooltip's window while it shows, else null.
    static QWidget* dica();
    // Where a tooltip of `tamanho` goes for the mouse at `mouse` (global):
    // below the pointer when it ends inside the arena `area`, else above it,
    // so the status line under the arena stays readable.
    static QPoint lugarDaDica(QPoint mouse, QSize tamanho, const QRect& area);

    static constexpr int raioPixels = 12;

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    void mostrar(QPoint pixel);
    void posicionarDica(QPoint pixel);

    const CKeldoDoc& doc;
    QWidget* vista;
    QString atual;
};

} // namespace keldo::app
