#pragma once
// The one way the GUI tests answer modal windows: a message box or a dialog
// opened by the code under test while the test waits in its exec().
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

// Hands the next modal window to `acao` (with `todas`, every one that comes,
// counting them); `acao` must not block.
class RespostaModal {
  public:
    struct Caixa {
        QString titulo;
        QString texto;
        QMessageBox::Icon icone;
    };

    explicit RespostaModal(std::function<void(QWidget*)> acao, bool todas = false) {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this, acao, todas] {
            QWidget* janela = QApplication::activeModalWidget();
            if (!janela)
                return;
            if (!todas)
                timer.stop();
            vista = true;
            ++vistas;
            acao(janela);
        });
        timer.start();
    }

    // Clicks `botao` of the next message box and keeps its text.
    static std::unique_ptr<RespostaModal> botao(QMessageBox::StandardButton botao, QString* texto) {
        return std::make_unique<RespostaModal>([botao, texto](QWidget* janela) {
            auto* caixa = qobject_cast<QMessageBox*>(janela);
            if (!caixa || !caixa->button(botao)) { // not the box the test waits for
                janela->close();
                return;
            }
            if (texto)
                *texto = caixa->text();
            caixa->button(botao)->click();
        });
    }

    // Confirms the next dialog as its OK would.
    static std::unique_ptr<RespostaModal> aceitar() {
        return std::make_unique<RespostaModal>([](QWidget* janela) {
            if (auto* dialogo = qobject_cast<QDialog*>(janela))
                dialogo->accept();
        });
    }

    // Keeps every message box that shows (title, text, icon) in `caixas` and
    // closes it with `resposta`; other modal windows are left to `outra`.
    static std::unique_ptr<RespostaModal>
    registrarCaixas(QMessageBox::StandardButton resposta = QMessageBox::Ok,
                    std::function<void(QWidget*)> outra = {}) {
        return std::unique_ptr<RespostaModal>(new RespostaModal(resposta, std::move(outra)));
    }

    bool vista = false;
    int vistas = 0;
    std::vector<Caixa> caixas;

  private:
    RespostaModal(QMessageBox::StandardButton resposta, std::function<void(QWidget*)> outra)
        : RespostaModal(
              [this, resposta, outra](QWidget* janela) {
                  auto* caixa = qobject_cast<QMessageBox*>(janela);
                  if (caixa && caixa->isVisible()) {
                      caixas.push_back({caixa->windowTitle(), caixa->text(), caixa->icon()});
                      caixa->done(resposta);
                  } else if (!caixa && outra) {
                      outra(janela);
                  }
              },
              true) {}

    QTimer timer;
};
