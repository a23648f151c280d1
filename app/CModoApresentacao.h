#pragma once
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPushButton;
class QSpinBox;

namespace keldo::app {

class CGraficosDlg;
class CMainFrame;

// "Modo de apresentação": the same world full screen for a projector. The
// arena fills the screen's height, the charts stand beside it with a legend
// and large text, and the run goes at up to many cycles per redraw. Each
// redraw paints the arena once, exactly as the main window's view paints it
// (two jitter draws of the world's generator per item), so the draws are the
// main window's, only fewer of them at high speed. Esc closes it.
class CModoApresentacao : public QWidget {
    Q_OBJECT
  public:
    explicit CModoApresentacao(CMainFrame& principal);
    ~CModoApresentacao() override;

    void iniciar();
    void parar();
    // One cycle, then one redraw.
    void passo();
    bool executando() const { return relogio.isActive(); }
    void definirCiclosPorQuadro(int ciclos);
    int ciclosPorQuadro() const;
    // Cycles run and redraws painted since it opened.
    long long ciclosExecutados() const { return ciclos; }
    long long quadrosDesenhados() const { return quadros; }
    CGraficosDlg* graficos() const { return janelaGraficos; }
    static QString textoLegenda();

    static constexpr int maximoCiclosPorQuadro = 5000;

  signals:
    void fechado();

  protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

  private:
    QWidget* montarPainel();
    QSize tamanhoArena() const;
    void quadro();
    void redesenhar();

    CMainFrame& principal;
    QLabel* arena = nullptr;
    QLabel* estado = nullptr;
    QPushButton* botaoIniciar = nullptr;
    QSpinBox* velocidade = nullptr;
    CGraficosDlg* janelaGraficos = nullptr;
    QImage imagem;
    QTimer relogio;
    long long ciclos = 0;
    long long quadros = 0;
};

} // namespace keldo::app
