#pragma once
#include <QMainWindow>
#include <QUrl>
#include <vector>

class QLineEdit;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace keldo::help {

// The window of the help program: the contents on the left (every page of
// the manual and its sections), the page on the right, with back, forward,
// home and a search within the page.
class CJanelaAjuda : public QMainWindow {
    Q_OBJECT
  public:
    explicit CJanelaAjuda(QWidget* pai = nullptr);

    // A page of the manual: its file in the resource and its title.
    struct Pagina {
        const char* arquivo;
        const char* titulo;
    };
    static const std::vector<Pagina>& paginas();
    // Where the manual's pages lie.
    static QUrl urlDe(const QString& arquivo);

    // Shows a page by file name ("exercicios.html", "simulacao.html#ciclo");
    // false when the manual has no such page.
    bool abrir(const QString& pagina);

    QTextBrowser* navegador() const { return browser; }
    QTreeWidget* sumario() const { return arvore; }

  private:
    void montarSumario();
    void montarBarra();
    void procurar();
    void marcarNoSumario(const QUrl& url);

    QTextBrowser* browser = nullptr;
    QTreeWidget* arvore = nullptr;
    QLineEdit* busca = nullptr;
};

} // namespace keldo::help
