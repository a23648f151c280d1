#pragma once
// Support for the dialog tests: the modal answers of RespostaModal with a
// queue of actions for the dialogs that open.
#include "RespostaModal.h"
#include <QAbstractButton>
#include <QPointer>
#include <deque>

// Every message box is recorded and closed with its OK; queued actions are
// run, one each, on the dialogs that open. Actions must not block: they
// press buttons through `clicarDepois`.
class ObservadorModal {
  public:
    using Caixa = RespostaModal::Caixa;

    ObservadorModal()
        : resposta(RespostaModal::registrarCaixas(QMessageBox::Ok,
                                                  [this](QWidget* janela) { dialogo(janela); })),
          caixas(resposta->caixas) {}

    void aoAbrirDialogo(std::function<void(QDialog*)> acao) { acoes.push_back(std::move(acao)); }

    static void clicarDepois(QAbstractButton* botao) {
        QTimer::singleShot(0, botao, [botao] { botao->click(); });
    }

  private:
    void dialogo(QWidget* janela) {
        auto* d = qobject_cast<QDialog*>(janela);
        if (!d || d == ultimoDialogo || acoes.empty())
            return;
        ultimoDialogo = d;
        auto acao = std::move(acoes.front());
        acoes.pop_front();
        acao(d);
    }

    std::unique_ptr<RespostaModal> resposta;
    std::deque<std::function<void(QDialog*)>> acoes;
    QPointer<QDialog> ultimoDialogo;

  public:
    std::vector<Caixa>& caixas;
};
