#pragma once
#include <QDialog>
#include <QIcon>
#include <QString>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;

// The About box of both programs: the program icon, "<nome> Versão" with the
// version text, two lines of credits, the maker's web address (a click opens
// it in the browser; a failure is silent) and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    struct Conteudo {
        QString titulo; // "Sobre o Keldo GE"
        QString nome;   // "Keldo GE": the label reads "<nome> Versão"
        QString versao; // "1.1.130 b"
        QString credito1;
        QString credito2;
        QString endereco = QString::fromLatin1(enderecoPadrao);
        QIcon icone;
    };
    static constexpr const char* enderecoPadrao = "https://keldo.example.org/";

    explicit CAboutDlg(const Conteudo& conteudo, QWidget* pai = nullptr);

    // How the web address is opened; tests replace it.
    std::function<bool(const QUrl&)> abrirEndereco;

    QLabel* rotuloVersao() const { return versaoRotulo; }
    QLabel* textoVersao() const { return versaoTexto; }
    QLabel* rotuloEndereco() const { return enderecoRotulo; }
    QPushButton* botaoOk() const { return ok; }

  private:
    QLabel* versaoRotulo = nullptr;
    QLabel* versaoTexto = nullptr;
    QLabel* enderecoRotulo = nullptr;
    QPushButton* ok = nullptr;
};
