#pragma once
#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <vector>

class QAction;
class QLabel;
class QPushButton;
class QSpinBox;

namespace keldo::app {

class CGraficosDlg;
class CMainFrame;

// "Modo de apresentação": the same world full screen for a projector. The
// arena fills the height left by the legend and the controls under it, the
// charts take the rest of the width, the text is large, and the run goes at
// up to many cycles per redraw. The world takes the draws the main window
// would: every redraw the document asks for is a paint of the arena, or,
// between the redraws shown, the paint's jitter draws alone, so a seed gives
// the same run here as in the main window. Space starts and stops, the right
// arrow runs one cycle, + and - change the speed, Esc closes, from any focus.
class CModoApresentacao : public QWidget {
    Q_OBJECT
  public:
    explicit CModoApresentacao(CMainFrame& principal);
    ~CModoApresentacao() override;

    void iniciar();
    void parar();
    void iniciarOuParar();
    // One cycle, then its picture.
    void passo();
    bool executando() const { return relogio.isActive(); }
    void definirCiclosPorQuadro(int ciclos);
    int ciclosPorQuadro() const;
    // The next speed up or down in the 1, 2, 5, 10, ... steps.
    void maisRapido();
    void maisLento();
    // The document asks for a redraw (through the main window, its host).
    void redesenhoPedido() { pedido = true; }

    // Cycles run and arena paints made since it opened.
    long long ciclosExecutados() const { return ciclos; }
    long long quadrosDesenhados() const { return quadros; }
    CGraficosDlg* graficos() const { return janelaGraficos; }
    // The arena as shown, and the legend, state and buttons under it.
    QRect retanguloArena() const;
    QWidget* rodape() const { return painelRodape; }

    // What the arena draws, each with its own picture.
    struct EntradaLegenda {
        QImage imagem;
        QString texto;
    };
    static std::vector<EntradaLegenda> legenda();
    static constexpr int ladoIconeLegenda = 38;

    static constexpr int maximoCiclosPorQuadro = 5000;

  signals:
    void fechado();

  protected:
    void closeEvent(QCloseEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

  private:
    QWidget* montarRodape();
    QWidget* montarLegenda();
    void montarTeclas();
    QAction* tecla(const QList<QKeySequence>& teclas, void (CModoApresentacao::*metodo)());
    void dimensionarArena();
    void quadro();
    void pintarArena(bool tirarSorteios);
    void tirarSorteiosDaPintura();
    void mostrar();

    CMainFrame& principal;
    QLabel* arena = nullptr;
    QWidget* painelRodape = nullptr;
    QLabel* estado = nullptr;
    QPushButton* botaoIniciar = nullptr;
    QSpinBox* velocidade = nullptr;
    CGraficosDlg* janelaGraficos = nullptr;
    QImage imagem;
    QTimer relogio;
    bool pedido = false;
    long long ciclos = 0;
    long long quadros = 0;
};

} // namespace keldo::app
