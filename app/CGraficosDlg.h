#pragma once
#include "app/PainelCurvas.h"
#include "model/Genoma.h"
#include "sim/SimulationParameters.h"
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QCPMarginGroup;
class QCPTextElement;
class QCustomPlot;
class QListWidget;
class QScrollArea;
namespace keldo::sim {
class CKeldoDoc;
struct AmostraPopulacao;
} // namespace keldo::sim

namespace keldo::app {

namespace Genoma = keldo::model::Genoma;

using keldo::sim::AmostraPopulacao;
using keldo::sim::CKeldoDoc;
using keldo::sim::SimulationParameters;

// The chart window beside the arena, from the document's history: the
// population, the allele frequencies of every gene ticked in the list (one
// panel each, sharing the time axis) and, on request, the heterozygosity of
// the selected autosomal gene against Hardy–Weinberg. The whole run shows
// unless the wheel or a drag on the time axis chose a part ("Tudo" shows it
// all again); the axis counts cycles or generations. Non-modal; it follows
// the arena's redraws but never replots more often than 20 times a second,
// nor so often that replots take more than a tenth of the time.
class CGraficosDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CGraficosDlg(const CKeldoDoc& doc, QWidget* pai = nullptr);
    ~CGraficosDlg() override;

    // A redraw request of the run: shows the new points, now or a little later.
    void atualizar();
    // Draws at once whatever the history holds.
    void desenhar();

    static constexpr int intervaloMinimoMs = 50;

    // Genes in the list: ticked ones get a frequency panel; the selected one
    // (when autosomal) feeds the heterozygosity panel.
    void marcarGene(Genoma::Gene g, bool marcado);
    void selecionarGene(Genoma::Gene g);
    Genoma::Gene geneSelecionado() const;
    bool geneMarcado(Genoma::Gene g) const;
    void mostrarHeterozigose(bool mostrar);
    bool heterozigoseMostrada() const;
    void usarGeracoes(bool geracoes);
    bool emGeracoes() const;
    // The genes, the selection and the boxes of another chart window, so the
    // lesson's charts stay as they were between the two windows.
    void copiarEscolhas(const CGraficosDlg& de);
    // A part of another window (the presentation mode): placed by its layout,
    // without a close button, and never remembered as the window's place.
    void embutir();
    // Back to the whole run after a zoom or a drag.
    void verTudo();
    // A world made (with these parameters) or read (none known): its whole
    // run shows, whatever the last one's zoom, and the caption names them.
    void mundoNovo(std::optional<SimulationParameters> parametros);

    // Export of the charts (with the caption below) and of their figures.
    // False when the file could not be written.
    bool exportarPng(const QString& caminho);
    bool exportarPdf(const QString& caminho);
    bool exportarCsv(const QString& caminho);
    // Project name, date, the world's seed and the parameters it was made with
    // that differ from the defaults (LegendaExportacao).
    QString textoLegenda() const;

    QCustomPlot* grafico() const { return plot; }
    // Panels top to bottom: population, one per ticked gene, heterozygosity.
    int numPaineis() const { return static_cast<int>(paineis.size()); }
    const PainelCurvas& painel(int i) const { return *paineis[static_cast<size_t>(i)]; }
    // 0 adults, 1 eggs, 2 food.
    QCPGraph* curvaPopulacao(int i) const { return paineis.front()->curva(i); }
    // The frequency panel of a ticked gene; null when it has none.
    const PainelCurvas* painelGene(Genoma::Gene g) const;
    const PainelCurvas* painelHeterozigose() const { return heterozigose; }

    // The window's place on a screen beside `principal`, as PosicaoJanela decides it.
    static QSize tamanhoDesejado() { return {680, 720}; }
    static QSize tamanhoMinimo() { return {340, 300}; }
    // The least height of the panels with their titles, legends and labels
    // whole and a few text lines for the curves; below it they scroll rather
    // than squeeze their labels together.
    int alturaMinimaPaineis() const;

  protected:
    void showEvent(QShowEvent* evento) override;
    void hideEvent(QHideEvent* evento) override;

  private:
    QWidget* montarControles();
    QWidget* montarBotoes();
    void montarPaineis();
    void adicionarPainel(const QString& titulo, const QString& rotuloY,
                         std::vector<PainelCurvas::Curva> curvas);
    void ligarEixosX();
    void ajustarEixos(double inicio, double fim);
    void posicionar();
    bool exportar(const std::function<bool()>& gravar);
    QSize tamanhoExportacao() const;
    void escolherEExportar(const QString& titulo, const QString& filtro, const QString& sufixo,
                           bool (CGraficosDlg::*gravarEm)(const QString&));
    QString nomeProposto(const QString& sufixo) const;

    const CKeldoDoc& doc;
    QCustomPlot* plot = nullptr;
    QScrollArea* rolagem = nullptr;
    QListWidget* listaGenes = nullptr;
    QCheckBox* caixaGeracoes = nullptr;
    QCheckBox* caixaHeterozigose = nullptr;
    QCPMarginGroup* margens = nullptr;
    std::vector<std::unique_ptr<PainelCurvas>> paineis;
    const PainelCurvas* heterozigose = nullptr;
    std::vector<const PainelCurvas*> porGene;

    std::optional<SimulationParameters> parametrosMundo;
    bool zoomDoUsuario = false;
    bool ajustando = false;
    bool posicionado = false;
    bool embutido = false;

    QElapsedTimer desdeDesenho;
    qint64 custoUltimoMs = 0;
    QTimer adiado;
};

} // namespace keldo::app
