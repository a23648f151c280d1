#pragma once
// Support for the dialog tests: answers the modal windows that the code
// under test opens while a test waits in it.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

// Every message box is recorded and closed with its OK; queued actions are
// run, one each, on the dialogs that open. Actions must not block: they
// press buttons through `clicarDepois`.
class ObservadorModal {
  public:
    struct Caixa {
        QString titulo;
        QString texto;
        QMessageBox::Icon icone;
    };

    ObservadorModal() {
        timer.setInterval(2);
        QObject::connect(&timer, &QTimer::timeout, [this] { verificar(); });
        timer.start();
    }

    void aoAbrirDialogo(std::function<void(QDialog*)> acao) { acoes.push_back(std::move(acao)); }

    static void clicarDepois(QAbstractButton* botao) {
        QTimer::singleShot(0, botao, [botao] { botao->click(); });
    }

    std::vector<Caixa> caixas;

  private:
    void verificar() {
        QWidget* janela = QApplication::activeModalWidget();
        if (!janela)
            return;
        if (auto* caixa = qobject_cast<QMessageBox*>(janela)) {
            if (!caixa->isVisible())
                return;
            caixas.push_back({caixa->windowTitle(), caixa->text(), caixa->icon()});
            caixa->done(QMessageBox::Ok);
            return;
        }
        auto* dialogo = qobject_cast<QDialog*>(janela);
        if (!dialogo || dialogo == ultimoDialogo || acoes.empty())
            return;
        ultimoDialogo = dialogo;
        auto acao = std::move(acoes.front());
        acoes.pop_front();
        acao(dialogo);
    }

    QTimer timer;
    std::deque<std::function<void(QDialog*)>> acoes;
    QPointer<QDialog> ultimoDialogo;
};
