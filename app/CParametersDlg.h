#pragma once
#include <QDialog>
#include <memory>

namespace Ui {
class CParametersDlg;
}
namespace keldo::model {
class Ambiente;
} // namespace keldo::model
namespace keldo::sim {
struct SimulationParameters;
} // namespace keldo::sim

namespace keldo::app {

using keldo::model::Ambiente;
using keldo::sim::SimulationParameters;

// "Parâmetros de Simulação": edits the document's parameter record in place.
// "OK" stores every field at once after checking them all; "Cancel" stores
// nothing typed here. The three "..." sub-dialogs write into the record as
// soon as they are confirmed, whatever this dialog ends with. The templates'
// empty individuals and the population dialog's founders draw from `mundo`
// (the document's world); without one they take no draws.
class CParametersDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CParametersDlg(SimulationParameters& parametros, Ambiente* mundo = nullptr,
                            QWidget* parent = nullptr);
    ~CParametersDlg() override;

  public slots:
    void accept() override;

  private slots:
    void abrirPopulacao();
    void abrirPermuta();
    void abrirAvancadas();

  private:
    void ajustarControles();
    void carregar();
    bool ordemAlimentoValida();
    bool validarEArmazenar();

    SimulationParameters& parametros;
    Ambiente* mundo;
    std::unique_ptr<Ui::CParametersDlg> ui;
};

} // namespace keldo::app
