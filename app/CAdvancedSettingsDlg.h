#pragma once
#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>

class QLineEdit;
namespace Ui {
class CAdvancedSettingsDlg;
}
namespace keldo::sim {
struct SimulationParameters;
struct DescricaoParametro;
} // namespace keldo::sim

namespace keldo::app {

using keldo::sim::DescricaoParametro;
using keldo::sim::SimulationParameters;

// "Configurações Avançadas": the energy costs and the per-genotype death and
// reproduction thresholds. They act only on individuals expressed afterwards,
// so every confirmation reminds the user to create a new project.
class CAdvancedSettingsDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAdvancedSettingsDlg(const SimulationParameters& parametros,
                                  QWidget* parent = nullptr);
    ~CAdvancedSettingsDlg() override;

    // Copies the nine values back into a record.
    void armazenarEm(SimulationParameters& parametros) const;

  public slots:
    void accept() override;
    void valoresPadrao();

  private:
    // A field and its row in the core's parameter table (range, record member).
    struct Campo {
        QLineEdit* edit = nullptr;
        const DescricaoParametro* parametro = nullptr;
    };
    void escreverControles();

    // detecta, luta, morte mm/Mm/MM, repro rr/Rr/RR, partilha: the order of the checks.
    std::array<uint32_t, 9> valores{};
    std::array<Campo, 9> campos{};
    std::unique_ptr<Ui::CAdvancedSettingsDlg> ui;
};

} // namespace keldo::app
