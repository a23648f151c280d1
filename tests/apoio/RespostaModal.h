#pragma once
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

// Answers the next modal window of the test (a message box or a dialog)
// while the code under test waits in its exec(); with `todas`, every one
// that comes, counting them.
class RespostaModal {
  public:
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

    bool vista = false;
    int vistas = 0;

  private:
    QTimer timer;
};
