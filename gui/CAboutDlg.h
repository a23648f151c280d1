#pragma once
#include <QDialog>
#include <QIcon>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;

namespace keldo::gui {

// The About box of both programs: the program icon, "<nome> Versão" with the
// version text, two lines of credits, a link to the manual and OK. The project
// has no web page of its own, so the link starts the installed help program
// (a failure is silent).
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    struct Conteudo {
        QString titulo; // "Sobre o Keldo GE"
        QString nome;   // "Keldo GE": the label reads "<nome> Versão"
        QString versao; // "1.1.130 b"
        QString credito1;
        QString credito2;
        QIcon icone;
    };
    static constexpr const char* textoManual = "Manual do KELDO (Keldo HP)";

    explicit CAboutDlg(const Conteudo& conteudo, QWidget* pai = nullptr);

    // How the manual is opened; tests replace it.
    std::function<bool()> abrirManual;

    QLabel* rotuloIcone() const { return iconeRotulo; }
    QLabel* rotuloVersao() const { return versaoRotulo; }
    QLabel* textoVersao() const { return versaoTexto; }
    QLabel* rotuloManual() const { return manualRotulo; }
    QPushButton* botaoOk() const { return ok; }

  private:
    QLabel* iconeRotulo = nullptr;
    QLabel* versaoRotulo = nullptr;
    QLabel* versaoTexto = nullptr;
    QLabel* manualRotulo = nullptr;
    QPushButton* ok = nullptr;
};

} // namespace keldo::gui
