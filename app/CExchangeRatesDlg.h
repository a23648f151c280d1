#pragma once
#include "model/Genoma.h"
#include <QDialog>
#include <array>
#include <cstdint>

class QLabel;
class QLineEdit;

namespace keldo::app {

// "Taxas de Permuta": the six crossing-over rates between neighbouring
// autosomal genes, with a legend that shows, while the user types, how the
// genes fall into chromosomes (a rate of 50 % starts a new chromosome).
class CExchangeRatesDlg : public QDialog {
    Q_OBJECT

  public:
    // One rate a crossing point.
    using Taxas = std::array<uint8_t, keldo::model::Genoma::numPontosPermuta>;

    explicit CExchangeRatesDlg(const Taxas& taxas, QWidget* parent = nullptr);

    const Taxas& taxas() const { return taxasAtuais; }
    const QString& legenda() const { return textoLegenda; }

    // The legend text for a set of rates.
    static QString montarLegenda(const Taxas& taxas);

  public slots:
    void accept() override;
    void valoresPadrao();

  private:
    void construirInterface();
    bool lerControles();
    void escreverControles();
    void reconstruirLegenda();

    Taxas taxasAtuais;
    QString textoLegenda;
    std::array<QLineEdit*, keldo::model::Genoma::numPontosPermuta> edits{};
    QLabel* rotuloLegenda = nullptr;
    bool escrevendo = false;
};

} // namespace keldo::app
