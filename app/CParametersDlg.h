#pragma once
#include <QDialog>
#include <memory>

struct SimulationParameters;
namespace Ui {
class CParametersDlg;
}

// "Parâmetros de Simulação": edits the document's parameter record in place.
// "OK" stores every field at once after checking them all; "Cancel" stores
// nothing typed here. The three "..." sub-dialogs write into the record as
// soon as they are confirmed, whatever this dialog ends with.
class CParametersDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CParametersDlg(SimulationParameters& parametros, QWidget* parent = nullptr);
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
    std::unique_ptr<Ui::CParametersDlg> ui;
};
