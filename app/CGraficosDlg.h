#pragma once
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdint>

class CKeldoDoc;
class QComboBox;
class QCPAxisRect;
class QCPGraph;
class QCPLegend;
class QCPTextElement;
class QCustomPlot;
class QPushButton;
struct AmostraPopulacao;

// The chart window beside the arena: the population (adults, eggs, food) and
// the allele frequencies of one gene over time, from the document's history.
// Non-modal; it follows the arena's redraws but never replots more often than
// 20 times a second, nor so often that replots take more than a tenth of the
// time, so a fast run is not slowed by it.
class CGraficosDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CGraficosDlg(const CKeldoDoc& doc, QWidget* pai = nullptr);

    // A redraw request of the run: shows the new points, now or a little later.
    void atualizar();
    // Draws at once whatever the history holds.
    void desenhar();

    static constexpr int intervaloMinimoMs = 50;

    // One gene of the selector: its name and its alleles.
    struct Gene {
        const char* nome;
        int numAlelos;
        struct Alelo {
            const char* letra;
            int coluna;       // AleloResumo index
            bool complemento; // the recessive letter: 1 - frequency of the column
            QRgb cor;
        } alelos[4];
    };
    static const Gene genes[];
    static const int numGenes;

    void selecionarGene(int indice);
    int geneSelecionado() const { return gene; }

    // Export of the charts and of their figures. False when the file could not be written.
    bool exportarPng(const QString& caminho);
    bool exportarPdf(const QString& caminho);
    bool exportarCsv(const QString& caminho);

    QCustomPlot* grafico() const { return plot; }
    // 0 adults, 1 eggs, 2 food.
    QCPGraph* curvaPopulacao(int i) const { return populacao[i]; }
    // The alleles of the selected gene, in its order.
    QCPGraph* curvaFrequencia(int i) const { return frequencias[i]; }
    int numCurvasFrequencia() const { return numFrequencias; }

  protected:
    void showEvent(QShowEvent* evento) override;

  private:
    void montarGrafico();
    QCPAxisRect* novoPainel(int linha, const QString& titulo, QCPTextElement*& rotulo,
                            QCPLegend*& legenda);
    QWidget* montarBotoes();
    void montarCurvasFrequencia();
    void acrescentar(const AmostraPopulacao& a);
    void removerCauda();
    void ajustarEixos();
    void escolherEExportar(const QString& titulo, const QString& filtro, const QString& sufixo,
                           bool (CGraficosDlg::*exportar)(const QString&));
    QString nomeProposto(const QString& sufixo) const;

    const CKeldoDoc& doc;
    QCustomPlot* plot = nullptr;
    QComboBox* seletor = nullptr;
    QCPAxisRect* painelPopulacao = nullptr;
    QCPAxisRect* painelFrequencias = nullptr;
    QCPTextElement* tituloFrequencias = nullptr;
    QCPLegend* legendaPopulacao = nullptr;
    QCPLegend* legendaFrequencias = nullptr;
    QCPGraph* populacao[3] = {};
    QCPGraph* frequencias[4] = {};
    int numFrequencias = 0;
    int gene = 0;

    // What of the history is already on the charts.
    uint64_t versaoLida = 0;
    size_t pontosLidos = 0;
    bool comCauda = false;
    int32_t tempoCauda = 0;
    bool posicionado = false;
    double maiorPopulacao = 1.0;

    QElapsedTimer desdeDesenho;
    qint64 custoUltimoMs = 0;
    QTimer adiado;
};
