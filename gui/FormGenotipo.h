#pragma once
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QWidget;

namespace keldo::gui {

// The genotype form of both programs (the population dialog and the
// editor): exclusive groups of buttons for the sex, the stage and each
// gene's alleles (texts from TextosGenoma), and the controls that only one
// sex has. Each caller walks the genome and lays out its rows itself, since
// the two forms differ in layout and in tab order (the dialog goes gene by
// gene across both sides, the editor side by side); this is how a group is
// made and how the sex switches the controls.
class FormGenotipo : public QObject {
  public:
    enum class Estilo {
        radio,      // plain radio buttons (sex, stage, alive)
        radioAlelo, // radio buttons of one width, so that alleles line up
        botaoAlelo, // small push buttons that stay pressed
    };
    // Puts button `i` of a group where the caller wants it.
    using Colocar = std::function<void(QAbstractButton* botao, int i)>;
    // The object name of button `i`, whose id in the group is `id`.
    using Nomear = std::function<QString(int i, int id)>;

    explicit FormGenotipo(QObject* pai = nullptr) : QObject(pai) {}

    // A group of buttons with `textos`, parented to `dono`, the first one
    // pressed; button i has id `ids[i]` (i when `ids` is empty).
    QButtonGroup* grupo(const QStringList& textos, Estilo estilo, QWidget* dono,
                        const std::vector<int>& ids, const Nomear& nomear,
                        const Colocar& colocar) const;

    // A female has a second X, a male a Y: the controls of each are enabled
    // with that sex only (disabled ones keep their choice).
    void controlesDaFemea(const QList<QWidget*>& controles) { soFemea += controles; }
    void controlesDoMacho(const QList<QWidget*>& controles) { soMacho += controles; }
    void aplicarSexo(bool macho) const;

  private:
    QList<QWidget*> soFemea;
    QList<QWidget*> soMacho;
};

} // namespace keldo::gui
